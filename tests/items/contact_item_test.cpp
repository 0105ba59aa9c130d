// The contact item against the embedded service: the mapping of every field, what is set and what is removed, the
// e-mail slots, the postal addresses, the derived names, the read groups, and the trace line of each field that
// fails to be read or written.
#include <mapipim/mapisvc.h>

#include "items/ContactProperties.h"
#include "items/MAPIContactItem.h"
#include "support/ScopedEnvironment.h"
#include "support/ContactServiceTest.h"

using namespace contacttest;

namespace
{
const int kAddress = MAPIPIM_SET_ADDRESS;

// A property as the contact keeps it: an ordinary tag, or a PSETID_Address id.
struct Property
{
    ULONG ulTag;
    int nSet;
    const char* szField;
};

// The properties every contact write stores, even for an empty field.
const Property kSetProperties[] = {
    {PR_DISPLAY_NAME_W, 0, "strFullName"},
    {PR_SURNAME_W, 0, "strLastName"},
    {PR_GIVEN_NAME_W, 0, "strFirstName"},
    {PR_MIDDLE_NAME_W, 0, "strMiddleName"},
    {PR_INITIALS_W, 0, "strInitial"},
    {mapipim::PidLidFileUnder, kAddress, "strDisplay"},
    {PR_SUBJECT_W, 0, "subject"},
    {PR_COMPANY_NAME_W, 0, "strCompany"},
    {PR_DEPARTMENT_NAME_W, 0, "strDepartment"},
    {PR_TITLE_W, 0, "strTitle"},
    {0x8083, kAddress, "strEmail1"},
    {0x8080, kAddress, "strEmailDispaly1"},
    {0x8093, kAddress, "strEmail2"},
    {0x8090, kAddress, "strEmailDispaly2"},
    {0x80A3, kAddress, "strEmail3"},
    {0x80A0, kAddress, "strEmailDispaly3"},
    {PR_BUSINESS_HOME_PAGE_W, 0, "strBizHomePage"},
    {PR_PERSONAL_HOME_PAGE_W, 0, "strHomePage"},
    {0x8062, kAddress, "strIMAddress"},
    {PR_PRIMARY_TELEPHONE_NUMBER_W, 0, "strNumberBase"},
    {PR_HOME_TELEPHONE_NUMBER_W, 0, "strNumberHome1"},
    {PR_HOME2_TELEPHONE_NUMBER_W, 0, "strNumberHome2"},
    {PR_HOME_FAX_NUMBER_W, 0, "strNumberHomeFax"},
    {PR_MOBILE_TELEPHONE_NUMBER_W, 0, "strNumberCellphone"},
    {PR_RADIO_TELEPHONE_NUMBER_W, 0, "strNumberRadioTelephony"},
    {PR_PAGER_TELEPHONE_NUMBER_W, 0, "strNumberBeeper"},
    {PR_COMPANY_MAIN_PHONE_NUMBER_W, 0, "strNumberCompany"},
    {PR_BUSINESS_TELEPHONE_NUMBER_W, 0, "strNumberBiz1"},
    {PR_BUSINESS2_TELEPHONE_NUMBER_W, 0, "strNumberBiz2"},
    {PR_BUSINESS_FAX_NUMBER_W, 0, "strNumberBizFax"},
    {PR_ASSISTANT_TELEPHONE_NUMBER_W, 0, "strNumberAssistant"},
    {PR_CALLBACK_TELEPHONE_NUMBER_W, 0, "strNumberCallback"},
    {PR_CAR_TELEPHONE_NUMBER_W, 0, "strNumberCarphone"},
    {PR_OTHER_TELEPHONE_NUMBER_W, 0, "strNumberOther"},
    {PR_PRIMARY_FAX_NUMBER_W, 0, "strNumberOtherFax"},
    {PR_ISDN_NUMBER_W, 0, "strNumberISDN"},
    {PR_TELEX_NUMBER_W, 0, "strNumberTelex"},
    {PR_TTYTDD_PHONE_NUMBER_W, 0, "strNumberTTYTDD"},
    {PR_OFFICE_LOCATION_W, 0, "strOffice"},
    {PR_PROFESSION_W, 0, "strJob"},
    {PR_MANAGER_NAME_W, 0, "strManagerName"},
    {PR_SPOUSE_NAME_W, 0, "strSpouseName"},
    {PR_NICKNAME_W, 0, "strNickName"},
    {PR_ASSISTANT_W, 0, "strAssistantName"},
    {PR_DISPLAY_NAME_PREFIX_W, 0, "strNamePrefix"},
    {PR_GENERATION_W, 0, "strGeneration"},
    {0x80D8, kAddress, "strInternetAddress"},
};

// The properties an empty field removes: the address parts and the composed addresses.
const Property kRemovedProperties[] = {
    {PR_HOME_ADDRESS_CITY_W, 0, "strHomeCity"},
    {PR_HOME_ADDRESS_COUNTRY_W, 0, "strHomeCountry"},
    {PR_HOME_ADDRESS_STATE_OR_PROVINCE_W, 0, "strHomeState"},
    {PR_HOME_ADDRESS_STREET_W, 0, "strHomeStreet"},
    {PR_HOME_ADDRESS_POSTAL_CODE_W, 0, "strHomePostalCode"},
    {0x8046, kAddress, "strBizCity"},
    {0x8049, kAddress, "strBizCountry"},
    {0x8047, kAddress, "strBizState"},
    {0x8045, kAddress, "strBizStreet"},
    {0x8048, kAddress, "strBizPostalCode"},
    {PR_OTHER_ADDRESS_CITY_W, 0, "strOtherCity"},
    {PR_OTHER_ADDRESS_COUNTRY_W, 0, "strOtherCountry"},
    {PR_OTHER_ADDRESS_STATE_OR_PROVINCE_W, 0, "strOtherState"},
    {PR_OTHER_ADDRESS_STREET_W, 0, "strOtherStreet"},
    {PR_OTHER_ADDRESS_POSTAL_CODE_W, 0, "strOtherPostalCode"},
    {0x801A, kAddress, "home address"},
    {0x801B, kAddress, "business address"},
    {0x801C, kAddress, "other address"},
};

mapisvc::NamedProperty AddressName(LONG lId)
{
    mapisvc::NamedProperty name;
    name.propertySet = PSETID_Address;
    name.kind = MNID_ID;
    name.id = lId;
    return name;
}

// Makes one method fail for one property of the contact.
ULONG FailFor(const char* szMethod, const Property& property)
{
    mapisvc::Fault fault;
    fault.method = szMethod;
    if (property.nSet == 0)
        fault.propTag = CHANGE_PROP_TYPE(property.ulTag, PT_UNSPECIFIED);
    else
    {
        fault.narrowToName = true;
        fault.name = AddressName(static_cast<LONG>(property.ulTag));
    }
    return mapisvc::InjectFault(fault);
}

CString ReadString(CMAPIItem& item, ULONG ulTag, int nSet, BOOL* pRead = nullptr)
{
    CString strValue;
    const BOOL bRead = item.GetPropertyString(ulTag, strValue, nSet);
    if (pRead)
        *pRead = bRead;
    return strValue;
}

class ContactItemTest : public ContactServiceTest
{
protected:
    // Every field set; the picture path names the picture as reading gives it, which keeps it (here: none).
    CMAPIContactInfo FullContact()
    {
        CMAPIContactInfo info = MakeFullContact(TempDir() / "none", {});
        info.strPicturePath = _T("ContactPicture.jpg");
        return info;
    }

    CMAPIContactInfo NamedContact(const char* szPrefix, const char* szFirst, const char* szMiddle, const char* szLast,
                                  const char* szGeneration)
    {
        CMAPIContactInfo info;
        info.strNamePrefix = Utf8(szPrefix);
        info.strFirstName = Utf8(szFirst);
        info.strMiddleName = Utf8(szMiddle);
        info.strLastName = Utf8(szLast);
        info.strGeneration = Utf8(szGeneration);
        return info;
    }
};
} // namespace

// ---- Creation

TEST_F(ContactItemTest, CreateMakesAReadContactInTheGivenOrCurrentFolder)
{
    CMAPIContactItem item;
    EXPECT_FALSE(item.Create(nullptr, &Contacts()));
    ASSERT_TRUE(item.Create(&Session(), &Contacts()));
    EXPECT_EQ(Utf8("IPM.Contact"), ReadString(item, PR_MESSAGE_CLASS_W, 0));
    EXPECT_EQ(MSGFLAG_READ, item.GetPropertyLong(PR_MESSAGE_FLAGS, 0));

    // Without a folder and without a current one, the Contacts folder is opened and made current.
    ASSERT_EQ(nullptr, Session().GetFolder());
    CMAPIContactItem second;
    ASSERT_TRUE(second.Create(&Session(), nullptr));
    ASSERT_NE(nullptr, Session().GetFolder());
    EXPECT_TRUE(CompareSBinary(*Session().GetFolder()->GetEntryID(), *Contacts().GetEntryID()));
}

// ---- Derived names

TEST_F(ContactItemTest, DerivedNamesFollowTheNameParts)
{
    const struct
    {
        const char *szPrefix, *szFirst, *szMiddle, *szLast, *szGeneration;
        const char *szFull, *szFileAs, *szInitials;
    } cases[] = {
        {"Dr.", "Anna", "Maria Luisa", "Berg", "Jr.", "Dr. Anna Maria Luisa Berg Jr.", "Anna Maria Luisa Berg",
         "A.M.L.B."},
        {"Dr.", "", "", "", "", "Dr. ", "", ""},
        {"Dr.", "", "", "", "Jr.", "Dr.  Jr.", "", ""},
        {"", "", "", "Berg", "", "Berg", "Berg", "B."},
        // A character beyond the Basic Multilingual Plane makes a whole initial, never half a surrogate pair.
        {"", "😀Anna", "Ян 🌸Ли", "김", "", "😀Anna Ян 🌸Ли 김", "😀Anna Ян 🌸Ли 김", "😀.Я.🌸.김."},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.szFull);
        CMAPIContactItem item;
        ASSERT_TRUE(item.Create(&Session(), &Contacts()));
        CMAPIContactInfo info = NamedContact(c.szPrefix, c.szFirst, c.szMiddle, c.szLast, c.szGeneration);
        info.strInitial = Utf8("kept");
        EXPECT_TRUE(item.SetDisplayNames(&info));
        EXPECT_EQ(Utf8(c.szFull), info.strFullName);
        EXPECT_EQ(Utf8(c.szFileAs), info.strDisplay);
        EXPECT_EQ(Utf8("kept"), info.strInitial);
        EXPECT_EQ(Utf8(c.szFull), ReadString(item, PR_DISPLAY_NAME_W, 0));
        EXPECT_EQ(Utf8(c.szFileAs), ReadString(item, mapipim::PidLidFileUnder, kAddress));
        EXPECT_EQ(Utf8(c.szFileAs), ReadString(item, PR_SUBJECT_W, 0));
        EXPECT_EQ(Utf8(c.szInitials), ReadString(item, PR_INITIALS_W, 0));
    }
}

// ---- E-mail slots

TEST_F(ContactItemTest, EmailSlotsWriteSmtpAndReadExchangeSlotsByTheirOriginalName)
{
    CMAPIContactItem item;
    ASSERT_TRUE(item.Create(&Session(), &Contacts()));
    ASSERT_TRUE(item.SetEmailAddress(_T("anna@example.com"), 2));
    EXPECT_EQ(Utf8("SMTP"), ReadString(item, 0x8092, kAddress));
    for (LONG lId : {0x8093, 0x8094, 0x8090})
        EXPECT_EQ(Utf8("anna@example.com"), ReadString(item, lId, kAddress));
    ASSERT_TRUE(item.SetEmailDisplayName(_T("Anna"), 2));
    EXPECT_EQ(Utf8("Anna"), ReadString(item, 0x8090, kAddress));

    ASSERT_TRUE(item.SetEmailAddress(_T(""), 2));
    EXPECT_EQ(Utf8("SMTP"), ReadString(item, 0x8092, kAddress));
    for (LONG lId : {0x8093, 0x8094, 0x8090})
    {
        BOOL bRead = FALSE;
        EXPECT_EQ(CString(), ReadString(item, lId, kAddress, &bRead));
        EXPECT_TRUE(bRead) << "an empty value is stored, not removed";
    }

    // An Exchange slot shows its original display name.
    ASSERT_TRUE(item.SetPropertyString(0x80A2, _T("EX"), kAddress));
    ASSERT_TRUE(item.SetPropertyString(0x80A3, _T("/o=Example/ou=Site/cn=Recipients/cn=anna"), kAddress));
    ASSERT_TRUE(item.SetPropertyString(0x80A4, _T("Anna Berg"), kAddress));
    CString strValue;
    EXPECT_TRUE(item.GetEmailAddress(strValue, 3));
    EXPECT_EQ(Utf8("Anna Berg"), strValue);

    // Slot 1 was never written: no address type, no address.
    strValue = _T("before");
    EXPECT_FALSE(item.GetEmailAddress(strValue, 1));
    EXPECT_TRUE(strValue.IsEmpty());
}

TEST_F(ContactItemTest, EmailSlotsOutsideOneToThreeFailUntouched)
{
    CMAPIContactItem item;
    ASSERT_TRUE(item.Create(&Session(), &Contacts()));
    for (int nSlot : {0, 4, -1})
    {
        CString strValue = _T("before");
        EXPECT_FALSE(item.GetEmailAddress(strValue, nSlot));
        EXPECT_FALSE(item.GetEmailDisplayName(strValue, nSlot));
        EXPECT_EQ(Utf8("before"), strValue);
        EXPECT_FALSE(item.SetEmailAddress(_T("x@y"), nSlot));
        EXPECT_FALSE(item.SetEmailDisplayName(_T("x"), nSlot));
    }
}

// ---- Postal addresses

TEST_F(ContactItemTest, ComposedAddressTexts)
{
    CMAPIContactItem item;
    CMAPIContactInfo info = FullContact();
    CreateContactItem(item, info);
    EXPECT_EQ(Utf8("Unter den Linden 1\r\nБерлин  Berlin  10115\r\nDeutschland"), ReadString(item, 0x801A, kAddress));
    EXPECT_EQ(Utf8("세종대로 110\r\n서울  서울특별시  04524\r\n대한민국"), ReadString(item, 0x801B, kAddress));
    EXPECT_EQ(Utf8("Тверская ул., 1\r\nМосква  Московская область  101000\r\nРоссия 🇷🇺"),
              ReadString(item, 0x801C, kAddress));

    CMAPIContactInfo onlyCountry;
    onlyCountry.strHomeCountry = _T("X");
    EXPECT_TRUE(item.SetAddress(&onlyCountry, MAPIPIM_ADDRESS_HOME));
    EXPECT_EQ(Utf8("\r\n    \r\nX"), ReadString(item, 0x801A, kAddress));
    BOOL bRead = TRUE;
    ReadString(item, PR_HOME_ADDRESS_CITY_W, 0, &bRead);
    EXPECT_FALSE(bRead) << "an emptied part is removed";

    CMAPIContactInfo blanks;
    blanks.strBizCity = _T("  ");
    blanks.strBizStreet = _T(" ");
    item.SetAddress(&blanks, MAPIPIM_ADDRESS_BUSINESS);
    ReadString(item, 0x801B, kAddress, &bRead);
    EXPECT_FALSE(bRead) << "an address of blanks only has no composed text";
}

TEST_F(ContactItemTest, AddressTypesOutsideTheThreeFail)
{
    CMAPIContactItem item;
    ASSERT_TRUE(item.Create(&Session(), &Contacts()));
    CMAPIContactInfo info;
    EXPECT_FALSE(item.GetAddress(&info, 3));
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : InvalidType : 3(nType)")));
    EXPECT_FALSE(item.GetAddress(nullptr, MAPIPIM_ADDRESS_HOME));
    Trace().Clear();
    EXPECT_FALSE(item.SetAddress(&info, -1));
    EXPECT_FALSE(item.SetDisplayAddress(&info, 3));
    EXPECT_TRUE(Trace().GetLines().empty());
}

// ---- Set, or set or remove

TEST_F(ContactItemTest, EmptyFieldsAreStoredEmptyExceptAddressesTimesAndAttachments)
{
    CMAPIContactItem item;
    CMAPIContactInfo full = MakeFullContact(TempDir() / "photo.jpg", {TempDir() / "a.txt"});
    WriteJpeg(TempDir() / "photo.jpg", 40, 30);
    WriteFileBytes(TempDir() / "a.txt", {'a'});
    CreateContactItem(item, full);
    ASSERT_EQ(2, item.GetAttachmentCount());

    CMAPIContactInfo empty;
    ASSERT_TRUE(item.SetInfo(&ContactsRecord(), &empty));
    for (const Property& property : kSetProperties)
    {
        BOOL bRead = FALSE;
        EXPECT_EQ(CString(), ReadString(item, property.ulTag, property.nSet, &bRead)) << property.szField;
        EXPECT_TRUE(bRead) << property.szField << " is stored empty";
    }
    for (const Property& property : kRemovedProperties)
    {
        BOOL bRead = TRUE;
        ReadString(item, property.ulTag, property.nSet, &bRead);
        EXPECT_FALSE(bRead) << property.szField << " is removed";
    }
    SYSTEMTIME tm = {};
    EXPECT_FALSE(item.GetPropertyTime(PR_BIRTHDAY, tm));
    EXPECT_FALSE(item.GetPropertyTime(PR_WEDDING_ANNIVERSARY, tm));
    EXPECT_EQ(0, item.GetPropertyLong(PR_SENSITIVITY, 7));
    EXPECT_EQ(0, item.GetAttachmentCount());
    EXPECT_EQ(0, item.GetPropertyBool(mapipim::PidLidHasPicture, 7, kAddress));
    CString strBody = _T("x");
    EXPECT_TRUE(item.GetBody(strBody));
    EXPECT_TRUE(strBody.IsEmpty());
}

// ---- Read groups

TEST_F(ContactItemTest, EachReadGroupFillsItsOwnFields)
{
    CMAPIContactItem item;
    CMAPIContactInfo full = FullContact();
    CreateContactItem(item, full);

    CMAPIContactInfo none;
    EXPECT_TRUE(item.GetInfo(&none, 0));
    EXPECT_TRUE(CompareSBinary(none.sbEntryID, *item.GetEntryID()));
    EXPECT_FALSE(none.strEntryID.IsEmpty());
    EXPECT_EQ(0, none.tmCTime.wYear);
    EXPECT_TRUE(none.strLastName.IsEmpty());
    EXPECT_TRUE(none.strCompany.IsEmpty());

    CMAPIContactInfo times;
    EXPECT_TRUE(item.GetInfo(&times, MAPIPIM_CONTACT_TIMES));
    EXPECT_NE(0, times.tmCTime.wYear);
    EXPECT_NE(0, times.tmLMTime.wYear);
    EXPECT_TRUE(times.strLastName.IsEmpty());

    CMAPIContactInfo names;
    EXPECT_TRUE(item.GetInfo(&names, MAPIPIM_CONTACT_NAMES));
    EXPECT_EQ(full.strLastName, names.strLastName);
    EXPECT_EQ(full.strFullName, names.strFullName);
    EXPECT_EQ(Utf8("А.M.😀.김."), names.strInitial);
    EXPECT_TRUE(names.strCompany.IsEmpty());
    EXPECT_EQ(0, names.tmBirthday.wYear);
    EXPECT_EQ(0, names.tmCTime.wYear);

    CMAPIContactInfo others;
    EXPECT_TRUE(item.GetInfo(&others, MAPIPIM_CONTACT_OTHERS));
    EXPECT_TRUE(others.strLastName.IsEmpty());
    EXPECT_EQ(full.strCompany, others.strCompany);
    EXPECT_EQ(full.strNumberTTYTDD, others.strNumberTTYTDD);
    EXPECT_EQ(full.strOtherCountry, others.strOtherCountry);
    EXPECT_EQ(2, others.nSensitivity);
    EXPECT_EQ(0, others.tmCTime.wYear);
}

// ---- Times

TEST_F(ContactItemTest, SummerTimesRoundTripUnchangedInADaylightSavingZone)
{
    ScopedTz berlin("Europe/Berlin");
    CMAPIContactItem item;
    CMAPIContactInfo info = FullContact();
    info.tmBirthday = MakeSystemTime(1980, 7, 14);
    info.tmAnniversary = MakeSystemTime(2010, 8, 1, 15, 45);
    CreateContactItem(item, info);

    SYSTEMTIME tmStored = {};
    ASSERT_TRUE(item.GetPropertyTime(PR_BIRTHDAY, tmStored, 0, FALSE));
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(1980, 7, 13, 22, 0), tmStored))
        << "stored as UTC, daylight saving included";

    CMAPIContactInfo read;
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_CONTACT_OTHERS));
    EXPECT_TRUE(SameLocalTime(info.tmBirthday, read.tmBirthday));
    EXPECT_TRUE(SameLocalTime(info.tmAnniversary, read.tmAnniversary));
    EXPECT_EQ(1, read.tmBirthday.wDayOfWeek); // a Monday

    // A time that names no day cannot be stored: the write fails with a trace, the rest is saved.
    info.tmAnniversary = MakeSystemTime(2010, 13, 1);
    ASSERT_TRUE(item.SetInfo(&ContactsRecord(), &info));
    EXPECT_TRUE(Traced(_T("[MAPI] Set failed : Invalid DateTime(tmAnniversary) - Folder:Contacts")));

    // Year 0 is no time: the property goes.
    info.tmBirthday = SYSTEMTIME{};
    ASSERT_TRUE(item.SetInfo(&ContactsRecord(), &info));
    EXPECT_FALSE(item.GetPropertyTime(PR_BIRTHDAY, tmStored));
    CMAPIContactInfo again;
    item.GetInfo(&again, MAPIPIM_CONTACT_OTHERS);
    EXPECT_EQ(0, again.tmBirthday.wYear);
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : tmBirthday")));
}

// ---- Attachments other than the picture

TEST_F(ContactItemTest, AttachFileAddsFullPathsKeepsTheRestAndEmptyRemovesAllButThePicture)
{
    WriteFileBytes(TempDir() / "a.txt", {'a'});
    WriteFileBytes(TempDir() / "b.txt", {'b'});
    WriteJpeg(TempDir() / "photo.jpg", 30, 30);
    CMAPIContactItem item;
    CMAPIContactInfo info = FullContact();
    info.strPicturePath = PathText(TempDir() / "photo.jpg");
    info.strAttachFile = PathText(TempDir() / "a.txt");
    CreateContactItem(item, info);

    info.strPicturePath = _T("ContactPicture.jpg");
    info.strAttachFile = _T("report.doc;") + PathText(TempDir() / "b.txt");
    ASSERT_TRUE(item.SetInfo(&ContactsRecord(), &info));
    CMAPIContactInfo read;
    item.GetInfo(&read, MAPIPIM_CONTACT_OTHERS);
    EXPECT_EQ(Utf8("a.txt;b.txt"), read.strAttachFile);
    EXPECT_EQ(Utf8("ContactPicture.jpg"), read.strPicturePath);

    info.strAttachFile.Empty();
    ASSERT_TRUE(item.SetInfo(&ContactsRecord(), &info));
    item.GetInfo(&read, MAPIPIM_CONTACT_OTHERS);
    EXPECT_TRUE(read.strAttachFile.IsEmpty());
    EXPECT_EQ(Utf8("ContactPicture.jpg"), read.strPicturePath);

    info.strAttachFile = PathText(TempDir() / "missing.txt");
    ASSERT_TRUE(item.SetInfo(&ContactsRecord(), &info));
    EXPECT_TRUE(Traced(_T("[MAPI] Set failed : ") + info.strAttachFile + _T("(strAttachFile) - Folder:Contacts")));
}

// ---- Trace lines of failing fields

TEST_F(ContactItemTest, EachFieldThatCannotBeReadIsTracedAndLeftEmpty)
{
    CMAPIContactItem item;
    CMAPIContactInfo full = FullContact();
    CreateContactItem(item, full);
    for (const Property& property : kSetProperties)
    {
        if (property.ulTag == PR_SUBJECT_W)
            continue; // not a field
        SCOPED_TRACE(property.szField);
        Trace().Clear();
        const ULONG ulFault = FailFor("GetProps", property);
        CMAPIContactInfo read;
        EXPECT_TRUE(item.GetInfo(&read, MAPIPIM_CONTACT_NAMES | MAPIPIM_CONTACT_OTHERS));
        mapisvc::RemoveFault(ulFault);
        EXPECT_TRUE(Traced(_T("[MAPI] Get failed : ") + Utf8(property.szField)));
    }
    for (const Property& property : kRemovedProperties)
    {
        if (property.nSet == kAddress && property.ulTag >= 0x801A && property.ulTag <= 0x801C)
            continue; // composed texts are not read
        SCOPED_TRACE(property.szField);
        Trace().Clear();
        const ULONG ulFault = FailFor("GetProps", property);
        CMAPIContactInfo read;
        EXPECT_TRUE(item.GetInfo(&read, MAPIPIM_CONTACT_OTHERS));
        mapisvc::RemoveFault(ulFault);
        EXPECT_TRUE(Traced(_T("[MAPI] Get failed : ") + Utf8(property.szField)));
        const char* szType = property.szField[3] == 'H' ? "HOME" : property.szField[3] == 'B' ? "BUSINESS" : "OTHER";
        EXPECT_TRUE(Traced(_T("[MAPI] Get failed : GetAddress(") + Utf8(szType) + _T(")")));
    }

    Trace().Clear();
    const ULONG ulBodyFault = FailFor("OpenProperty", {PR_BODY_W, 0, "strMemo"});
    const ULONG ulMobileFault = FailFor("GetProps", {PR_MOBILE_TELEPHONE_NUMBER_W, 0, "strNumberCellphone"});
    CMAPIContactInfo read;
    read.strNumberCellphone = _T("stale");
    EXPECT_TRUE(item.GetInfo(&read, MAPIPIM_CONTACT_OTHERS));
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : strMemo")));
    EXPECT_TRUE(read.strNumberCellphone.IsEmpty());
    EXPECT_EQ(full.strNumberBase, read.strNumberBase);
    mapisvc::RemoveFault(ulBodyFault);
    mapisvc::RemoveFault(ulMobileFault);
}

TEST_F(ContactItemTest, UnreadableTimesFailTheRead)
{
    CMAPIContactItem item;
    CMAPIContactInfo full = FullContact();
    CreateContactItem(item, full);

    ULONG ulFault = FailFor("GetProps", {PR_CREATION_TIME, 0, "tmCTime"});
    CMAPIContactInfo read;
    EXPECT_FALSE(item.GetInfo(&read, MAPIPIM_CONTACT_TIMES));
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : tmCTime")));
    EXPECT_NE(0, read.tmLMTime.wYear) << "the modification time is still read";
    mapisvc::RemoveFault(ulFault);

    ulFault = FailFor("GetProps", {PR_LAST_MODIFICATION_TIME, 0, "tmLMTime"});
    EXPECT_FALSE(item.GetInfo(&read, MAPIPIM_CONTACT_TIMES));
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : tmLMTime")));
    mapisvc::RemoveFault(ulFault);
    EXPECT_TRUE(item.GetInfo(&read, MAPIPIM_CONTACT_NAMES)) << "other groups do not read the times";
}

TEST_F(ContactItemTest, EachFieldThatCannotBeWrittenIsTracedAndTheContactStillSaved)
{
    CMAPIContactItem item;
    CMAPIContactInfo full = FullContact();
    CreateContactItem(item, full);
    const struct
    {
        Property property;
        const char* szLine;
    } kDerived[] = {
        {{PR_DISPLAY_NAME_W, 0, ""}, "[MAPI] Set failed : Dr. Анна Maria 😀Luisa 김 Jr.(strFullName)"},
        {{PR_INITIALS_W, 0, ""}, "[MAPI] Set failed : А.M.😀.김.(strInitials)"},
        {{mapipim::PidLidFileUnder, kAddress, ""}, "[MAPI] Set failed : Анна Maria 😀Luisa 김(strDisplayAs)"},
        {{PR_SUBJECT_W, 0, ""}, "[MAPI] Set failed : Анна Maria 😀Luisa 김(strSubject)"},
        {{PR_NORMALIZED_SUBJECT_W, 0, ""}, "[MAPI] Set failed : Анна Maria 😀Luisa 김(strNormalizeSubject)"},
    };
    for (const Property& property : kSetProperties)
    {
        const CString strField = Utf8(property.szField);
        if (property.ulTag == PR_SUBJECT_W || strField == _T("strFullName") || strField == _T("strInitial") ||
            strField == _T("strDisplay") || strField.Find(_T("strEmail")) == 0)
            continue; // derived names, and slots whose four writes share one trace, are checked below
        SCOPED_TRACE(property.szField);
        Trace().Clear();
        const ULONG ulFault = FailFor("SetProps", property);
        CMAPIContactInfo info = full;
        EXPECT_TRUE(item.SetInfo(&ContactsRecord(), &info));
        mapisvc::RemoveFault(ulFault);
        BOOL bRead = FALSE;
        const CString strValue = ReadString(item, property.ulTag, property.nSet, &bRead);
        EXPECT_TRUE(Traced(_T("[MAPI] Set failed : ") + strValue + _T("(") + strField + _T(") - Folder:Contacts")));
    }
    for (const auto& derived : kDerived)
    {
        SCOPED_TRACE(derived.szLine);
        Trace().Clear();
        const ULONG ulFault = FailFor("SetProps", derived.property);
        CMAPIContactInfo info = full;
        EXPECT_TRUE(item.SetInfo(&ContactsRecord(), &info));
        mapisvc::RemoveFault(ulFault);
        EXPECT_EQ(std::vector<CString>{Utf8(derived.szLine)}, Trace().GetLines());
    }
}

TEST_F(ContactItemTest, FailingWritesOfSlotsAddressesTimesAndTheSaveAreTraced)
{
    CMAPIContactItem item;
    CMAPIContactInfo full = FullContact();
    CreateContactItem(item, full);
    const struct
    {
        const char* szMethod;
        Property property;
        const char* szLine;
    } cases[] = {
        {"SetProps", {0x8083, kAddress, ""}, "[MAPI] Set failed : anna@example.com(strEmail1) - Folder:Contacts"},
        {"SetProps", {0x8090, kAddress, ""}, "[MAPI] Set failed : 김 (home) 🏠(strEmailDispaly2) - Folder:Contacts"},
        {"SetProps", {PR_HOME_ADDRESS_CITY_W, 0, ""}, "[MAPI] Set failed : Берлин(strHomeCity)"},
        {"SetProps", {PR_HOME_ADDRESS_CITY_W, 0, ""}, "[MAPI] Set failed : SetAddress(HOME) - Folder:Contacts"},
        {"SetProps", {0x801C, kAddress, ""}, "[MAPI] Set failed : SetAddress(OTHER) - Folder:Contacts"},
        {"SetProps", {PR_BIRTHDAY, 0, ""}, "[MAPI] Set failed : 1980-07-14 00:00:00(tmBirthday) - Folder:Contacts"},
        {"SetProps",
         {PR_WEDDING_ANNIVERSARY, 0, ""},
         "[MAPI] Set failed : 2005-01-21 12:30:00(tmAnniversary) - Folder:Contacts"},
        {"SetProps", {PR_SENSITIVITY, 0, ""}, "[MAPI] Set failed : 2(nSensitivity) - Folder:Contacts"},
        {"SetProps", {PR_ICON_INDEX, 0, ""}, "[MAPI] Set failed : Icon - Folder:Contacts"},
        {"OpenProperty",
         {PR_BODY_W, 0, ""},
         "[MAPI] Set failed : Notes\r\nсо строками\r\n그리고 😀 emoji(strMemo) - Folder:Contacts"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.szLine);
        Trace().Clear();
        const ULONG ulFault = FailFor(c.szMethod, c.property);
        CMAPIContactInfo info = full;
        EXPECT_TRUE(item.SetInfo(&ContactsRecord(), &info));
        mapisvc::RemoveFault(ulFault);
        EXPECT_TRUE(Traced(Utf8(c.szLine)));
    }

    full.tmBirthday = SYSTEMTIME{};
    Trace().Clear();
    ULONG ulFault = FailFor("DeleteProps", {PR_BIRTHDAY, 0, ""});
    EXPECT_TRUE(item.SetInfo(&ContactsRecord(), &full));
    mapisvc::RemoveFault(ulFault);
    EXPECT_TRUE(Traced(_T("[MAPI] Remove failed : tmBirthday - Folder:Contacts")));

    mapisvc::Fault save;
    save.method = "SaveChanges";
    ulFault = mapisvc::InjectFault(save);
    EXPECT_FALSE(item.SetInfo(&ContactsRecord(), &full));
    mapisvc::RemoveFault(ulFault);
    EXPECT_TRUE(Traced(_T("[MAPI] Set failed : Save( FALSE ) - Folder:Contacts")));
}

// ---- Cancellation

TEST_F(ContactItemTest, CancelledReadsAndWritesFailAndNothingIsSaved)
{
    CMAPIContactItem item;
    CMAPIContactInfo full = FullContact();
    CreateContactItem(item, full);
    CMAPIContactInfo changed = full;
    changed.strCompany = _T("Changed");
    CMAPIInterface::SetCancel(1);
    EXPECT_FALSE(item.SetInfo(&ContactsRecord(), &changed));
    CMAPIContactInfo read;
    EXPECT_FALSE(item.GetInfo(&read, MAPIPIM_CONTACT_OTHERS));
    CMAPIInterface::SetCancel(0);

    CMAPIContactItem reopened;
    ASSERT_TRUE(reopened.Open(&Session(), *item.GetEntryID()));
    ASSERT_TRUE(reopened.GetInfo(&read, MAPIPIM_CONTACT_OTHERS));
    EXPECT_EQ(full.strCompany, read.strCompany);
}

TEST_F(ContactItemTest, NullRecordsFail)
{
    CMAPIContactItem item;
    ASSERT_TRUE(item.Create(&Session(), &Contacts()));
    CMAPIContactInfo info;
    EXPECT_FALSE(item.GetInfo(nullptr, 0x7));
    EXPECT_FALSE(item.SetInfo(nullptr, &info));
    EXPECT_FALSE(item.SetInfo(&ContactsRecord(), nullptr));
    EXPECT_FALSE(item.SetDisplayNames(nullptr));
    EXPECT_FALSE(item.SetPicture(nullptr));
}
