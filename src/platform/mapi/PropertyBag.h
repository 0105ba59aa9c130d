// The properties of one object (store, folder, message, attachment, recipient, address-book entry): a list
// ordered by property id, and its stored form, one blob per object so that an object loads in one read.
#pragma once

#include "platform/mapi/PropValue.h"

#include <vector>

namespace mapisvc
{
class PropertyBag
{
public:
    const Prop* Find(ULONG propId) const;
    Prop* Find(ULONG propId);
    void Set(Prop prop);
    void Set(ULONG tag, std::string data) { Set(MakeProp(tag, std::move(data))); }
    bool Remove(ULONG propId);
    void Clear() { m_props.clear(); }

    const std::vector<Prop>& Props() const { return m_props; }
    std::vector<Prop>& Props() { return m_props; }
    size_t Size() const { return m_props.size(); }
    // Sum of the value sizes, loaded or not.
    size_t ValueBytes() const;

    // The stored form. Values kept out of line (IsLargeValue) are written as markers (their bytes go elsewhere).
    std::string Serialize() const;
    // Reads a stored form. With `wanted` (sorted property ids) only those properties are kept.
    static PropertyBag Parse(std::string_view blob, const std::vector<ULONG>* wanted = nullptr);

private:
    std::vector<Prop> m_props;
};

// True for values that are kept out of the object's blob. A value whose bytes were never loaded stays there
// whatever its size: the blob has nothing to write for it but the marker.
inline bool IsLargeValue(const Prop& prop)
{
    return !prop.loaded || prop.Size() > kLargeValueSize;
}
} // namespace mapisvc
