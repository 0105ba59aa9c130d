#include "items/TimeZoneDefinitionBlob.h"

namespace mapipim
{
namespace
{
constexpr BYTE kMajorVersion = 0x02;
constexpr BYTE kMinorVersion = 0x01;
constexpr WORD kHeaderReserved = 0x0002;
constexpr WORD kRuleReserved = 0x003E;  // the bytes of a rule after this field
constexpr ULONG kFixedHeaderBytes = 10; // versions, header size, reserved, key length, rule count
constexpr WORD kZoneWithoutDynamicRulesYear = 1601;

void WriteRule(CMAPIByteStream& stream, const TimeZoneRule& rule)
{
    stream.WriteByte(kMajorVersion);
    stream.WriteByte(kMinorVersion);
    stream.WriteWord(kRuleReserved);
    stream.WriteWord(rule.wFlags);
    WriteSystemTime(stream, rule.stStart);
    WriteTzi(stream, rule.tzi);
}

TimeZoneRule ReadRule(CMAPIByteStream& stream)
{
    TimeZoneRule rule;
    BYTE bVersion = 0;
    WORD wReserved = 0;
    stream.ReadByte(&bVersion);
    stream.ReadByte(&bVersion);
    stream.ReadWord(&wReserved);
    stream.ReadWord(&rule.wFlags);
    ReadSystemTime(stream, rule.stStart);
    ReadTzi(stream, rule.tzi);
    return rule;
}
} // namespace

SYSTEMTIME RuleStart(WORD wYear)
{
    SYSTEMTIME st = {};
    st.wYear = wYear;
    st.wMonth = 1;
    st.wDay = 1;
    return st;
}

TimeZoneDefinition DefinitionFromYears(const CString& strKeyName, const std::vector<YearRule>& years,
                                       const TziValue& zoneRule, bool bRecurrence)
{
    TimeZoneDefinition definition;
    definition.strKeyName = strKeyName;
    for (const YearRule& year : years)
        definition.rules.push_back(TimeZoneRule{0, RuleStart(year.wYear), year.tzi});
    if (definition.rules.empty())
        definition.rules.push_back(TimeZoneRule{0, RuleStart(kZoneWithoutDynamicRulesYear), zoneRule});
    definition.rules.back().wFlags =
        static_cast<WORD>(TZRULE_FLAG_EFFECTIVE_TZREG | (bRecurrence ? TZRULE_FLAG_RECUR_CURRENT_TZREG : 0));
    return definition;
}

ULONG TimeZoneDefinitionSize(const TimeZoneDefinition& definition)
{
    return kFixedHeaderBytes + 2 * static_cast<ULONG>(definition.strKeyName.GetLength()) +
           kTimeZoneRuleBytes * static_cast<ULONG>(definition.rules.size());
}

void WriteTimeZoneDefinition(CMAPIByteStream& stream, const TimeZoneDefinition& definition)
{
    const WORD cchKeyName = static_cast<WORD>(definition.strKeyName.GetLength());
    stream.WriteByte(kMajorVersion);
    stream.WriteByte(kMinorVersion);
    stream.WriteWord(static_cast<WORD>(6 + 2 * cchKeyName));
    stream.WriteWord(kHeaderReserved);
    stream.WriteWord(cchKeyName);
    stream.WriteBytes(2 * static_cast<ULONG>(cchKeyName), static_cast<LPCWSTR>(definition.strKeyName));
    stream.WriteWord(static_cast<WORD>(definition.rules.size()));
    for (const TimeZoneRule& rule : definition.rules)
        WriteRule(stream, rule);
}

TimeZoneDefinition ReadTimeZoneDefinition(BlobReader& stream)
{
    TimeZoneDefinition definition;
    BYTE bVersion = 0;
    WORD wHeaderSize = 0;
    WORD wReserved = 0;
    WORD cchKeyName = 0;
    WORD cRules = 0;
    stream.ReadByte(&bVersion);
    stream.ReadByte(&bVersion);
    stream.ReadWord(&wHeaderSize);
    stream.ReadWord(&wReserved);
    stream.ReadWord(&cchKeyName);
    LPWSTR pszKeyName = NULL;
    stream.ReadString(cchKeyName, &pszKeyName);
    definition.strKeyName = pszKeyName; // a string with a zero inside ends there
    delete[] pszKeyName;
    stream.ReadWord(&cRules);
    if (cRules > kMaxTimeZoneRulesRead)
        cRules = 0;
    for (WORD i = 0; i < cRules && stream.Left() > 0; ++i)
    {
        const bool bWhole = stream.Left() >= kTimeZoneRuleBytes;
        definition.rules.push_back(ReadRule(stream));
        if (!bWhole)
            break; // the value ended inside this rule: nothing follows it
    }
    return definition;
}

const TimeZoneRule* EffectiveRule(const TimeZoneDefinition& definition)
{
    for (const TimeZoneRule& rule : definition.rules)
        if (rule.wFlags & TZRULE_FLAG_EFFECTIVE_TZREG)
            return &rule;
    return definition.rules.empty() ? NULL : &definition.rules.back();
}
} // namespace mapipim
