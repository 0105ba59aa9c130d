#include "platform/win32/TimeZoneKeys.h"

#include "platform/win32/IcuText.h"
#include "platform/win32/WindowsZones.h"
#include "platform/win32/ZoneRule.h"

#include <unicode/basictz.h>

namespace mapipim::win32
{
namespace
{
// How far ahead the dynamic rules look: far enough for every change the IANA data announces in advance.
constexpr int kDynamicYearsAhead = 10;
const std::u16string kDynamicDst = u"Dynamic DST";

RegistryValue RuleValue(const ZoneRule& rule)
{
    const auto bytes = SerializeZoneRule(rule);
    return BinaryValue(bytes.data(), bytes.size());
}

std::optional<int> YearNamed(std::u16string_view name)
{
    if (name.empty() || name.size() > 5)
        return std::nullopt;
    int year = 0;
    for (char16_t ch : name)
    {
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
        year = year * 10 + (ch - u'0');
    }
    return year;
}

class DynamicDstKey : public RegistryKey
{
public:
    explicit DynamicDstKey(DynamicZoneRules rules) : m_rules(std::move(rules)) {}

    std::optional<RegistryValue> Value(std::u16string_view name) const override
    {
        if (CompareNoCase(name, u"FirstEntry") == 0)
            return DwordValue(static_cast<DWORD>(m_rules.firstYear));
        if (CompareNoCase(name, u"LastEntry") == 0)
            return DwordValue(static_cast<DWORD>(m_rules.LastYear()));
        const std::optional<int> year = YearNamed(name);
        if (!year || *year < m_rules.firstYear || *year > m_rules.LastYear())
            return std::nullopt;
        return RuleValue(m_rules.rules[static_cast<size_t>(*year - m_rules.firstYear)]);
    }

private:
    DynamicZoneRules m_rules;
};

class TimeZoneKey : public RegistryKey
{
public:
    explicit TimeZoneKey(const WindowsZone& zone) : m_zone(zone) {}

    std::shared_ptr<const RegistryKey> SubKey(std::u16string_view name) const override
    {
        if (CompareNoCase(name, kDynamicDst) != 0)
            return nullptr;
        DynamicZoneRules rules = DynamicRules();
        if (rules.Empty())
            return nullptr;
        return std::make_shared<const DynamicDstKey>(std::move(rules));
    }

    std::optional<std::u16string> SubKeyName(size_t index) const override
    {
        if (index > 0 || DynamicRules().Empty())
            return std::nullopt;
        return kDynamicDst;
    }

    std::optional<RegistryValue> Value(std::u16string_view name) const override
    {
        if (CompareNoCase(name, u"Std") == 0)
            return StringValue(StandardNameOf(m_zone));
        if (CompareNoCase(name, u"Dlt") == 0)
            return StringValue(DaylightNameOf(m_zone));
        if (CompareNoCase(name, u"Display") == 0)
            return StringValue(DisplayNameOf(m_zone));
        if (CompareNoCase(name, u"TZI") == 0)
            return RuleValue(ZoneRuleForYear(*Zone(), CurrentYear()));
        return std::nullopt;
    }

private:
    std::unique_ptr<icu::BasicTimeZone> Zone() const { return CreateBasicTimeZone(ToUnicodeString(m_zone.ianaId)); }

    DynamicZoneRules DynamicRules() const { return DynamicZoneRulesOf(*Zone(), CurrentYear() + kDynamicYearsAhead); }

    const WindowsZone& m_zone; // an entry of the catalogue, which lives as long as the process
};

class TimeZonesKey : public RegistryKey
{
public:
    std::shared_ptr<const RegistryKey> SubKey(std::u16string_view name) const override
    {
        const WindowsZone* zone = WindowsZones::Instance().Find(name);
        return zone ? std::make_shared<const TimeZoneKey>(*zone) : nullptr;
    }

    std::optional<std::u16string> SubKeyName(size_t index) const override
    {
        const std::vector<WindowsZone>& zones = WindowsZones::Instance().All();
        if (index >= zones.size())
            return std::nullopt;
        return zones[index].key;
    }
};
} // namespace

std::shared_ptr<const RegistryKey> MakeTimeZonesKey()
{
    return std::make_shared<const TimeZonesKey>();
}
} // namespace mapipim::win32
