#include "interop/VCardContact.h"

#include "interop/ContentLine.h"
#include "interop/InteropText.h"

#include <cctype>
#include <cstdio>
#include <memory>

namespace mapipim::interop
{
namespace
{
typedef CString CMAPIContactInfo::*TextMember;

// Telephone slots by the TYPE values they are written with; reading matches the whole set first.
struct PhoneSlot
{
    TextMember member;
    const char* types; // comma-separated, as written
};

const PhoneSlot kPhones[] = {
    {&CMAPIContactInfo::strNumberBiz1, "work,voice"},
    {&CMAPIContactInfo::strNumberBiz2, "work,voice,x-second"},
    {&CMAPIContactInfo::strNumberHome1, "home,voice"},
    {&CMAPIContactInfo::strNumberHome2, "home,voice,x-second"},
    {&CMAPIContactInfo::strNumberCellphone, "cell,voice"},
    {&CMAPIContactInfo::strNumberBizFax, "work,fax"},
    {&CMAPIContactInfo::strNumberHomeFax, "home,fax"},
    {&CMAPIContactInfo::strNumberOtherFax, "fax"},
    {&CMAPIContactInfo::strNumberBeeper, "pager"},
    {&CMAPIContactInfo::strNumberTTYTDD, "textphone"},
    {&CMAPIContactInfo::strNumberBase, "voice,x-primary"},
    {&CMAPIContactInfo::strNumberCompany, "work,x-company"},
    {&CMAPIContactInfo::strNumberAssistant, "voice,x-assistant"},
    {&CMAPIContactInfo::strNumberCallback, "voice,x-callback"},
    {&CMAPIContactInfo::strNumberCarphone, "voice,x-car"},
    {&CMAPIContactInfo::strNumberRadioTelephony, "voice,x-radio"},
    {&CMAPIContactInfo::strNumberISDN, "x-isdn"},
    {&CMAPIContactInfo::strNumberTelex, "x-telex"},
    {&CMAPIContactInfo::strNumberOther, "voice"},
};

struct AddressSlot
{
    const char* type; // empty for the other address
    TextMember street, city, state, postalCode, country;
};

const AddressSlot kAddresses[] = {
    {"home", &CMAPIContactInfo::strHomeStreet, &CMAPIContactInfo::strHomeCity, &CMAPIContactInfo::strHomeState,
     &CMAPIContactInfo::strHomePostalCode, &CMAPIContactInfo::strHomeCountry},
    {"work", &CMAPIContactInfo::strBizStreet, &CMAPIContactInfo::strBizCity, &CMAPIContactInfo::strBizState,
     &CMAPIContactInfo::strBizPostalCode, &CMAPIContactInfo::strBizCountry},
    {"", &CMAPIContactInfo::strOtherStreet, &CMAPIContactInfo::strOtherCity, &CMAPIContactInfo::strOtherState,
     &CMAPIContactInfo::strOtherPostalCode, &CMAPIContactInfo::strOtherCountry},
};

struct EmailSlot
{
    TextMember address, display;
};

const EmailSlot kEmails[] = {
    {&CMAPIContactInfo::strEmail1, &CMAPIContactInfo::strEmailDispaly1},
    {&CMAPIContactInfo::strEmail2, &CMAPIContactInfo::strEmailDispaly2},
    {&CMAPIContactInfo::strEmail3, &CMAPIContactInfo::strEmailDispaly3},
};

// Single text properties, written only when not empty.
struct TextProperty
{
    const char* name;
    TextMember member;
};

const TextProperty kTexts[] = {
    {"NICKNAME", &CMAPIContactInfo::strNickName},
    {"TITLE", &CMAPIContactInfo::strTitle},
    {"ROLE", &CMAPIContactInfo::strJob},
    {"NOTE", &CMAPIContactInfo::strMemo},
    {"IMPP", &CMAPIContactInfo::strIMAddress},
    {"FBURL", &CMAPIContactInfo::strInternetAddress},
    {"X-MS-OFFICE", &CMAPIContactInfo::strOffice},
    {"X-MS-MANAGER", &CMAPIContactInfo::strManagerName},
    {"X-MS-ASSISTANT", &CMAPIContactInfo::strAssistantName},
    {"X-MS-SPOUSE", &CMAPIContactInfo::strSpouseName},
};

std::vector<std::string> TypesOf(const char* types)
{
    std::vector<std::string> list;
    std::string current;
    for (const char* p = types;; ++p)
    {
        if (*p == ',' || *p == '\0')
        {
            if (!current.empty())
                list.push_back(current);
            current.clear();
            if (*p == '\0')
                return list;
        }
        else
            current += *p;
    }
}

void AddLine(std::string& out, const std::string& nameAndParams, const std::string& value)
{
    AppendFolded(out, nameAndParams + ":" + value);
}

std::string Escaped(const CString& text)
{
    return EscapeText(Utf8Of(text));
}

// A date, with its time of day when it has one (a floating local time).
std::string DateText(const SYSTEMTIME& tm)
{
    char text[32];
    if (tm.wHour || tm.wMinute || tm.wSecond)
        snprintf(text, sizeof text, "%04u%02u%02uT%02u%02u%02u", tm.wYear, tm.wMonth, tm.wDay, tm.wHour, tm.wMinute,
                 tm.wSecond);
    else
        snprintf(text, sizeof text, "%04u%02u%02u", tm.wYear, tm.wMonth, tm.wDay);
    return text;
}

void WriteNames(std::string& out, const CMAPIContactInfo& c)
{
    CString strFull = c.strFullName;
    if (strFull.IsEmpty())
        strFull = c.strDisplay;
    AddLine(out, "FN", Escaped(strFull));
    AddLine(out, "N",
            Escaped(c.strLastName) + ";" + Escaped(c.strFirstName) + ";" + Escaped(c.strMiddleName) + ";" +
                Escaped(c.strNamePrefix) + ";" + Escaped(c.strGeneration));
    if (!c.strCompany.IsEmpty() || !c.strDepartment.IsEmpty())
        AddLine(out, "ORG", Escaped(c.strCompany) + ";" + Escaped(c.strDepartment));
}

void WriteSlots(std::string& out, const CMAPIContactInfo& c)
{
    int nPref = 0;
    for (const EmailSlot& slot : kEmails)
    {
        ++nPref;
        if ((c.*slot.address).IsEmpty())
            continue;
        std::string head = "EMAIL;PREF=" + std::to_string(nPref);
        if (!(c.*slot.display).IsEmpty())
            head += ";X-DISPLAY-NAME=" + QuoteParam(Utf8Of(c.*slot.display));
        AddLine(out, head, Escaped(c.*slot.address));
    }
    for (const PhoneSlot& slot : kPhones)
        if (!(c.*slot.member).IsEmpty())
            AddLine(out, std::string("TEL;TYPE=\"") + slot.types + "\"", Escaped(c.*slot.member));
    for (const AddressSlot& slot : kAddresses)
    {
        if ((c.*slot.street).IsEmpty() && (c.*slot.city).IsEmpty() && (c.*slot.state).IsEmpty() &&
            (c.*slot.postalCode).IsEmpty() && (c.*slot.country).IsEmpty())
            continue;
        std::string head = "ADR";
        if (*slot.type)
            head += std::string(";TYPE=") + slot.type;
        AddLine(out, head,
                ";;" + Escaped(c.*slot.street) + ";" + Escaped(c.*slot.city) + ";" + Escaped(c.*slot.state) + ";" +
                    Escaped(c.*slot.postalCode) + ";" + Escaped(c.*slot.country));
    }
    if (!c.strBizHomePage.IsEmpty())
        AddLine(out, "URL;TYPE=work", Escaped(c.strBizHomePage));
    if (!c.strHomePage.IsEmpty())
        AddLine(out, "URL;TYPE=home", Escaped(c.strHomePage));
}

// ---- Reading

bool SameTypes(const ContentLine& line, const char* types)
{
    const std::vector<std::string> wanted = TypesOf(types);
    size_t nGiven = 0;
    for (const Parameter& parameter : line.parameters)
        if (parameter.name == "TYPE")
            for (const std::string& value : parameter.values)
                nGiven += SplitEscaped(value, ',').size();
    if (nGiven != wanted.size())
        return false;
    for (const std::string& type : wanted)
        if (!line.HasParamValue("TYPE", type))
            return false;
    return true;
}

// A telephone another application wrote: the first free slot its TYPEs suggest.
TextMember GuessPhoneSlot(const ContentLine& line, const CMAPIContactInfo& c)
{
    const bool bWork = line.HasParamValue("TYPE", "work");
    const bool bHome = line.HasParamValue("TYPE", "home");
    std::vector<TextMember> candidates;
    if (line.HasParamValue("TYPE", "fax"))
        candidates = {bWork ? &CMAPIContactInfo::strNumberBizFax
                            : bHome ? &CMAPIContactInfo::strNumberHomeFax : &CMAPIContactInfo::strNumberOtherFax};
    else if (line.HasParamValue("TYPE", "cell"))
        candidates = {&CMAPIContactInfo::strNumberCellphone};
    else if (line.HasParamValue("TYPE", "pager"))
        candidates = {&CMAPIContactInfo::strNumberBeeper};
    else if (line.HasParamValue("TYPE", "textphone"))
        candidates = {&CMAPIContactInfo::strNumberTTYTDD};
    else if (bWork)
        candidates = {&CMAPIContactInfo::strNumberBiz1, &CMAPIContactInfo::strNumberBiz2};
    else if (bHome)
        candidates = {&CMAPIContactInfo::strNumberHome1, &CMAPIContactInfo::strNumberHome2};
    candidates.push_back(&CMAPIContactInfo::strNumberOther);
    for (TextMember member : candidates)
        if ((c.*member).IsEmpty())
            return member;
    return nullptr;
}

bool ReadDate(const std::string& value, SYSTEMTIME& tm)
{
    std::string digits;
    for (char ch : value)
        if (ch != '-')
            digits += ch;
    for (char& ch : digits)
        if (ch == ':')
            ch = ' ';
    unsigned int y = 0, m = 0, d = 0, h = 0, n = 0, sec = 0;
    char rest = 0;
    const int nRead = sscanf(digits.c_str(), "%4u%2u%2u%c%2u%2u%2u", &y, &m, &d, &rest, &h, &n, &sec);
    if (digits.size() < 8 || nRead < 3 || (nRead >= 4 && rest != 'T'))
        return false;
    if (y < 1601 || m < 1 || m > 12 || d < 1 || d > 31 || h > 23 || n > 59 || sec > 59)
        return false;
    tm = SYSTEMTIME{};
    tm.wYear = static_cast<WORD>(y);
    tm.wMonth = static_cast<WORD>(m);
    tm.wDay = static_cast<WORD>(d);
    tm.wHour = static_cast<WORD>(h);
    tm.wMinute = static_cast<WORD>(n);
    tm.wSecond = static_cast<WORD>(sec);
    return true;
}

bool ReadPhoto(const ContentLine& line, Picture& picture, std::string& error)
{
    std::string_view value = line.value;
    if (value.substr(0, 5) == "data:")
    {
        const size_t comma = value.find(',');
        const std::string_view head = value.substr(5, comma == std::string_view::npos ? 0 : comma - 5);
        if (comma == std::string_view::npos || head.size() < 7 || head.substr(head.size() - 7) != ";base64")
        {
            error = "PHOTO is not a base64 data URI";
            return false;
        }
        picture.mediaType.assign(head.substr(0, head.size() - 7));
        value.remove_prefix(comma + 1);
    }
    else if (line.HasParamValue("ENCODING", "b"))
        {
        picture.mediaType = "image/" + UpperAscii(line.Param("TYPE"));
        for (char& ch : picture.mediaType)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    else
    {
        error = "PHOTO refers to a location instead of holding the image";
        return false;
    }
    if (!Base64Decode(value, picture.bytes) || picture.bytes.empty())
    {
        error = "PHOTO holds no valid base64 data";
        return false;
    }
    return true;
}

class CardReader
{
public:
    explicit CardReader(ReadCard& card) : m_card(card) {}

    bool Take(const ContentLine& line)
    {
        if (line.name.empty())
            return Fail("line " + std::to_string(line.nLine) + ": " + line.value);
        if (line.Param("CHARSET").size())
            return Fail("line " + std::to_string(line.nLine) + ": a CHARSET parameter (only UTF-8 is read)");
        CMAPIContactInfo& c = m_card.contact;
        if (line.name == "VERSION")
        {
            m_bVersion = line.value == "4.0" || line.value == "3.0";
            return m_bVersion || Fail("line " + std::to_string(line.nLine) + ": VERSION " + line.value);
        }
        if (line.name == "N")
            return ReadNames(line);
        if (line.name == "ORG")
        {
            const std::vector<std::string> parts = SplitEscaped(line.value, ';');
            c.strCompany = TextOf(UnescapeText(parts[0]));
            c.strDepartment = parts.size() > 1 ? TextOf(UnescapeText(parts[1])) : CString();
            return true;
        }
        if (line.name == "FN")
        {
            c.strFullName = TextOf(UnescapeText(line.value));
            return true;
        }
        if (line.name == "EMAIL")
            return ReadEmail(line);
        if (line.name == "TEL")
            return ReadPhone(line);
        if (line.name == "ADR")
            return ReadAddress(line);
        if (line.name == "URL")
        {
            (line.HasParamValue("TYPE", "home") ? c.strHomePage : c.strBizHomePage) =
                TextOf(UnescapeText(line.value));
            return true;
        }
        if (line.name == "BDAY" || line.name == "ANNIVERSARY")
        {
            SYSTEMTIME& tm = line.name == "BDAY" ? c.tmBirthday : c.tmAnniversary;
            return ReadDate(line.value, tm) || Fail("line " + std::to_string(line.nLine) + ": " + line.name +
                                                    " is not a date");
        }
        if (line.name == "PHOTO")
        {
            std::string error;
            return ReadPhoto(line, m_card.picture, error) || Fail("line " + std::to_string(line.nLine) + ": " + error);
        }
        for (const TextProperty& text : kTexts)
            if (line.name == text.name)
            {
                c.*text.member = TextOf(UnescapeText(line.value));
                return true;
            }
        return true; // properties the record has no field for
    }

    bool Finish()
    {
        return m_bVersion || Fail("line " + std::to_string(m_card.nLine) + ": card without VERSION");
    }

private:
    bool Fail(const std::string& error)
    {
        if (m_card.error.empty())
            m_card.error = error;
        return false;
    }

    bool ReadNames(const ContentLine& line)
    {
        const std::vector<std::string> parts = SplitEscaped(line.value, ';');
        CMAPIContactInfo& c = m_card.contact;
        CString* fields[] = {&c.strLastName, &c.strFirstName, &c.strMiddleName, &c.strNamePrefix, &c.strGeneration};
        for (size_t i = 0; i < 5; ++i)
            *fields[i] = i < parts.size() ? TextOf(UnescapeText(parts[i])) : CString();
        return true;
    }

    bool ReadEmail(const ContentLine& line)
    {
        CMAPIContactInfo& c = m_card.contact;
        const std::string pref = line.Param("PREF");
        const EmailSlot* target = nullptr;
        if (pref == "1" || pref == "2" || pref == "3")
            target = &kEmails[pref[0] - '1'];
        if (target && !(c.*target->address).IsEmpty())
            target = nullptr;
        for (const EmailSlot& slot : kEmails)
            if (!target && (c.*slot.address).IsEmpty())
                target = &slot;
        if (!target)
            return true; // a fourth address has no slot
        c.*target->address = TextOf(UnescapeText(line.value));
        c.*target->display = TextOf(line.Param("X-DISPLAY-NAME"));
        return true;
    }

    bool ReadPhone(const ContentLine& line)
    {
        CMAPIContactInfo& c = m_card.contact;
        TextMember target = nullptr;
        for (const PhoneSlot& slot : kPhones)
            if (SameTypes(line, slot.types) && (c.*slot.member).IsEmpty())
            {
                target = slot.member;
                break;
            }
        if (!target)
            target = GuessPhoneSlot(line, c);
        std::string value = UnescapeText(line.value);
        if (value.compare(0, 4, "tel:") == 0)
            value.erase(0, 4);
        if (target)
            c.*target = TextOf(value);
        return true;
    }

    bool ReadAddress(const ContentLine& line)
    {
        const std::vector<std::string> parts = SplitEscaped(line.value, ';');
        const AddressSlot& slot = line.HasParamValue("TYPE", "home")   ? kAddresses[0]
                                  : line.HasParamValue("TYPE", "work") ? kAddresses[1]
                                                                       : kAddresses[2];
        CMAPIContactInfo& c = m_card.contact;
        TextMember members[] = {slot.street, slot.city, slot.state, slot.postalCode, slot.country};
        for (size_t i = 0; i < 5; ++i)
            c.*members[i] = i + 2 < parts.size() ? TextOf(UnescapeText(parts[i + 2])) : CString();
        return true;
    }

    ReadCard& m_card;
    bool m_bVersion = false;
};
} // namespace

std::string WriteVCard(const CMAPIContactInfo& c, const Picture& picture)
{
    std::string out;
    AddLine(out, "BEGIN", "VCARD");
    AddLine(out, "VERSION", "4.0");
    WriteNames(out, c);
    WriteSlots(out, c);
    for (const TextProperty& text : kTexts)
        if (!(c.*text.member).IsEmpty())
            AddLine(out, text.name, Escaped(c.*text.member));
    if (c.tmBirthday.wYear != 0)
        AddLine(out, "BDAY", DateText(c.tmBirthday));
    if (c.tmAnniversary.wYear != 0)
        AddLine(out, "ANNIVERSARY", DateText(c.tmAnniversary));
    if (!picture.bytes.empty())
        AddLine(out, "PHOTO", "data:" + picture.mediaType + ";base64," + Base64Encode(picture.bytes));
    AddLine(out, "END", "VCARD");
    return out;
}

std::vector<ReadCard> ReadVCards(std::string_view text)
{
    std::vector<ReadCard> cards;
    std::unique_ptr<CardReader> reader;
    auto close = [&](const char* missingEnd)
    {
        if (!reader)
            return;
        if (missingEnd)
        {
            if (cards.back().error.empty())
                cards.back().error = "line " + std::to_string(cards.back().nLine) + ": " + missingEnd;
        }
        else
            reader->Finish();
        reader.reset();
    };
    for (const ContentLine& line : ReadContentLines(text))
    {
        if (line.name == "BEGIN" && EqualNoCase(line.value, "VCARD"))
        {
            close("card not closed by END:VCARD");
            cards.emplace_back();
            cards.back().nLine = line.nLine;
            reader = std::make_unique<CardReader>(cards.back());
        }
        else if (line.name == "END" && EqualNoCase(line.value, "VCARD") && reader)
            close(nullptr);
        else if (reader)
            reader->Take(line);
        else
        {
            ReadCard stray;
            stray.nLine = line.nLine;
            stray.error = "line " + std::to_string(line.nLine) + ": " +
                          (line.name.empty() ? line.value : "text outside BEGIN:VCARD and END:VCARD");
            cards.push_back(std::move(stray));
        }
    }
    close("card not closed by END:VCARD");
    return cards;
}
} // namespace mapipim::interop
