#include "platform/mapi/WellKnownNames.h"

#include "platform/mapi/NamedProps.h"

#include <initializer_list>

namespace mapisvc
{
namespace
{
constexpr ULONG kFirstNamedId = 0x8000;

struct NumericNames
{
    const GUID* set;
    std::initializer_list<LONG> ids;
};

const NumericNames kNumericNames[] = {
    // Contacts: file-as, picture, postal addresses, instant messaging, the three e-mail slots, free/busy.
    {&PSETID_Address, {0x8005, 0x8006, 0x8015, 0x801A, 0x801B, 0x801C, 0x8022, 0x8028, 0x8029, 0x802B, 0x8045,
                       0x8046, 0x8047, 0x8048, 0x8049, 0x804A, 0x8062, 0x8080, 0x8082, 0x8083, 0x8084, 0x8085,
                       0x8090, 0x8092, 0x8093, 0x8094, 0x8095, 0x80A0, 0x80A2, 0x80A3, 0x80A4, 0x80A5, 0x80D8}},
    // Appointments: sequence, busy status, location, start, end, duration, colour, all-day, recurrence, state,
    // response, recurring, recurrence type and pattern, time zone, clip range.
    {&PSETID_Appointment, {0x8201, 0x8205, 0x8208, 0x820D, 0x820E, 0x8213, 0x8214, 0x8215, 0x8216, 0x8217,
                           0x8218, 0x8223, 0x8231, 0x8232, 0x8234, 0x8235, 0x8236}},
    // Tasks: status, percent complete, start, due, completed, complete, recurrence, recurring.
    {&PSETID_Task, {0x8101, 0x8102, 0x8104, 0x8105, 0x810F, 0x8116, 0x811C, 0x8126}},
    // Every item: reminder, private, side effects, common start and end, task mode, companies, contacts,
    // reminder signal time, internet account.
    {&PSETID_Common, {0x8501, 0x8502, 0x8503, 0x8506, 0x8510, 0x8516, 0x8517, 0x8518, 0x851C, 0x851F, 0x8539,
                      0x853A, 0x8560, 0x8580}},
    // Sticky notes: colour, size, position.
    {&PSETID_Note, {0x8B00, 0x8B02, 0x8B03, 0x8B04, 0x8B05}},
    // Journal entries: type, start, duration, end.
    {&PSETID_Log, {0x8700, 0x8706, 0x8707, 0x8708}},
};

HRESULT Record(Database& db, ULONG& nextId, const NamedProperty& name)
{
    Query insert = db.Prepare("INSERT INTO name(id, key) VALUES(?, ?)");
    return insert.Bind(1, nextId++).BindBlob(2, NameKey(name)).Run();
}
} // namespace

HRESULT MapWellKnownNames(Database& db)
{
    ULONG nextId = kFirstNamedId;
    for (const NumericNames& set : kNumericNames)
        for (LONG id : set.ids)
        {
            NamedProperty name;
            name.propertySet = *set.set;
            name.kind = MNID_ID;
            name.id = id;
            if (HRESULT hr = Record(db, nextId, name))
                return hr;
        }
    NamedProperty keywords;
    keywords.propertySet = PS_PUBLIC_STRINGS;
    keywords.kind = MNID_STRING;
    keywords.name = u"Keywords";
    return Record(db, nextId, keywords);
}
} // namespace mapisvc
