// The time-zone definition blob of appointments (TZDEFINITION: the start, end and recurrence zones): a header with
// the zone's registry key name, then one 66-byte rule per range of years, oldest first.
//
//   02 01 | header size (6 + 2 x key length) | 02 00 | key length | key (UTF-16, no terminator) | rule count
//   rule: 02 01 | 3E 00 | flags | stStart (SYSTEMTIME: the rule's first year, January 1st) | TZI (44 bytes)
//
// A rule's stStart is written as Outlook writes it, January 1st of its year (wMonth 1, wDay 1), not as zeros.
#pragma once

#include "items/TziValue.h"

#include <vector>

namespace mapipim
{
enum : WORD
{
    TZRULE_FLAG_RECUR_CURRENT_TZREG = 0x0001, // the rule a recurring series' time-zone structure matches
    TZRULE_FLAG_EFFECTIVE_TZREG = 0x0002,     // the rule in force now
};

constexpr ULONG kTimeZoneRuleBytes = 66;
constexpr WORD kMaxTimeZoneRulesRead = 1023;

struct TimeZoneRule
{
    WORD wFlags = 0;
    SYSTEMTIME stStart = {}; // wYear is the first year the rule applies to
    TziValue tzi;
};

struct TimeZoneDefinition
{
    CString strKeyName;
    std::vector<TimeZoneRule> rules;
};

// The stStart Outlook writes for a rule that begins in wYear.
SYSTEMTIME RuleStart(WORD wYear);

// A zone's rule from a year on, as the registry's dynamic rules list them.
struct YearRule
{
    WORD wYear = 0;
    TziValue tzi;
};

// The definition of a zone: one rule per year of its dynamic rules, or without them one rule from 1601 with the
// zone's rule; the last rule is the effective one, and with bRecurrence also the one the series' time-zone
// structure matches. The other rules carry no flags.
TimeZoneDefinition DefinitionFromYears(const CString& strKeyName, const std::vector<YearRule>& years,
                                       const TziValue& zoneRule, bool bRecurrence);

ULONG TimeZoneDefinitionSize(const TimeZoneDefinition& definition);
// Writes a rule count of at least 1 only when the definition has rules; the caller gives it one.
void WriteTimeZoneDefinition(CMAPIByteStream& stream, const TimeZoneDefinition& definition);

// Reads the header and up to 1023 rules (a count of 0 or above 1023 reads none); a value that ends early leaves
// the rest of the last rule at zero and reads no rule past it. The header size is not used to skip anything.
TimeZoneDefinition ReadTimeZoneDefinition(BlobReader& stream);

// The rule whose biases stand for the zone now: the one flagged effective, else the last; null without rules.
const TimeZoneRule* EffectiveRule(const TimeZoneDefinition& definition);
} // namespace mapipim
