// The properties of one object (store, folder, message, attachment, recipient, address-book entry): a list
// ordered by property id, and its stored form, one blob per object so that an object loads in one read.
//
// A bag read from its stored form keeps the blob and an index of where each value lies in it, and makes values
// of its own (a Prop with a copy of the bytes) only when something asks for the list of values or changes a
// stored one: a message opened to have some of its properties read, or a table row packed for its columns,
// copies nothing but what it hands out. Peek and Has read where the value lies, and setting a property the
// stored form lacks leaves the index as it is; every other access turns the whole index into values first.
#pragma once

#include "platform/mapi/PropValue.h"

#include <vector>

namespace mapisvc
{
// A stored value where it lies, without a copy: valid while its bag lives unchanged (Set, Remove, Clear or an
// assignment change it; reading it whole, even through a non-const Find or Props, does not).
struct PropView
{
    ULONG tag = PR_NULL;
    std::string_view data;
    size_t size = 0;    // the value's size, its bytes loaded or not
    bool loaded = true; // false: stored out of line, bytes not read yet (`data` is empty)

    PropView() = default;
    PropView(const Prop& prop) : tag(prop.tag), data(prop.data), size(prop.Size()), loaded(prop.loaded) {}
    PropView(ULONG valueTag, std::string_view bytes) : tag(valueTag), data(bytes), size(bytes.size()) {}
};

class PropertyBag
{
public:
    PropertyBag() = default;
    PropertyBag(const PropertyBag& other);
    PropertyBag& operator=(const PropertyBag& other);
    PropertyBag(PropertyBag&&) noexcept = default;
    PropertyBag& operator=(PropertyBag&&) noexcept = default;

    const Prop* Find(ULONG propId) const;
    Prop* Find(ULONG propId);
    // The value of `propId` without turning the stored form into values; false when the bag has none.
    bool Peek(ULONG propId, PropView& view) const;
    bool Has(ULONG propId) const;
    void Set(Prop prop);
    void Set(ULONG tag, std::string data) { Set(MakeProp(tag, std::move(data))); }
    // Room for `count` values set besides those read, for a caller about to add several (a table row's computed
    // columns), so that they do not grow the bag one reallocation at a time.
    void ReserveSet(size_t count) { m_props.reserve(count); }
    bool Remove(ULONG propId);
    void Clear();

    const std::vector<Prop>& Props() const;
    std::vector<Prop>& Props();
    size_t Size() const { return m_props.size() + m_slots.size(); }
    // Sum of the value sizes, loaded or not.
    size_t ValueBytes() const;

    // The stored form. Values kept out of line (IsLargeValue) are written as markers (their bytes go elsewhere).
    std::string Serialize() const;
    // Reads a stored form. With `wanted` (sorted property ids) only those properties are kept.
    static PropertyBag Parse(std::string_view blob, const std::vector<ULONG>* wanted = nullptr);
    static PropertyBag Parse(std::string&& blob, const std::vector<ULONG>* wanted = nullptr);

private:
    // Where one value of the stored form lies.
    struct Slot
    {
        ULONG tag;
        uint32_t offset;
        uint32_t size;
        bool outOfLine;
    };

    // Indexes the values of a stored form (only the wanted ones, when given) at their offsets in it.
    void Index(std::string_view blob, const std::vector<ULONG>* wanted);
    // Appends a slot for each of the first `headers` values that `wants` their id, up to the first header or
    // inline value the blob cannot hold.
    template <class Wants> void IndexValues(std::string_view blob, size_t headers, Wants wants);
    // Keeps the bytes of the indexed values alone, a table row's few columns instead of the whole object.
    void KeepIndexed(std::string_view blob);
    const Slot* FindSlot(ULONG propId) const;
    // FindSlot beyond the slot after the one found last.
    const Slot* SearchSlot(ULONG propId) const;
    Prop ValueOf(const Slot& slot) const;
    // Turns the index into values, merged with those set since the bag was read.
    void Materialize() const;

    // Values of their own: the whole list, or once read from a stored form those set since (ids the index lacks).
    mutable std::vector<Prop> m_props;
    // The stored form the bag was read from and the index of its values not yet made into Props. The blob
    // stays with the bag once materialised, as do the values set before (m_viewed), so that views taken before
    // stay valid.
    mutable std::string m_blob;
    mutable std::vector<Slot> m_slots;
    mutable std::vector<Prop> m_viewed;
    mutable size_t m_nextSlot = 0; // where FindSlot looks first
    mutable bool m_ordered = true; // the index is in ascending id order, as every blob the store writes
};

// True for values that are kept out of the object's blob. A value whose bytes were never loaded stays there
// whatever its size: the blob has nothing to write for it but the marker.
inline bool IsLargeValue(const Prop& prop)
{
    return !prop.loaded || prop.Size() > kLargeValueSize;
}
} // namespace mapisvc
