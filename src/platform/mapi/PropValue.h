// How the service keeps a property value: its tag and the value's bytes in one canonical form per type, so
// that values are stored, compared and converted without caring where they came from.
//
//   fixed-size types      the value as it lies in SPropValue (PT_BOOLEAN and PT_I2 in 2 bytes, PT_CLSID in 16)
//   PT_STRING8            8-bit text without terminator
//   PT_UNICODE            UTF-16 code units without terminator
//   PT_BINARY             the bytes
//   multi-valued types    a 32-bit count, then fixed-size elements, or for strings and binaries each element
//                         as a 32-bit length and its bytes
//
// A value stored out of line (long bodies, attachment contents) may be held without its bytes until it is read.
#pragma once

#include "platform/platform.h"

#include <string>
#include <string_view>
#include <vector>

namespace mapisvc
{
// Values larger than this are stored out of line and come back from tables as MAPI_E_NOT_ENOUGH_MEMORY.
constexpr size_t kLargeValueSize = 4096;

struct Prop
{
    ULONG tag = PR_NULL;
    std::string data;
    ULONG outOfLineSize = 0; // size of a value whose bytes are not loaded
    bool loaded = true;      // false: stored out of line, bytes not read yet
    bool dirty = false;      // changed since it was read from the store

    size_t Size() const { return loaded ? data.size() : outOfLineSize; }
};

bool IsStringType(ULONG type);       // PT_STRING8, PT_UNICODE and their multi-valued forms
bool IsKnownType(ULONG type);        // a type the service can store
size_t FixedElementSize(ULONG type); // 0 for variable-size and unknown types

// The stored form of a MAPI value; MAPI_E_INVALID_TYPE or MAPI_E_INVALID_PARAMETER when it cannot be stored.
HRESULT EncodeValue(const SPropValue& value, std::string& data);

// The same strings in the other character width (PT_STRING8 <-> PT_UNICODE, single or multi-valued).
std::string ConvertStrings(std::string_view data, ULONG fromType, ULONG toType);
// The value with its strings in the width a store keeps them in (PT_UNICODE when `unicode`, else PT_STRING8).
Prop ToStoredWidth(Prop prop, bool unicode);

// The type a stored value is handed out as, for a requested type (PT_UNSPECIFIED: the stored type, strings in
// the width the call's MAPI_UNICODE flag asks for). False when the value cannot be given in that type.
bool OutputType(ULONG storedType, ULONG requestedType, bool unicode, ULONG& outputType);

// The stored value in the given type (a string conversion when the widths differ).
std::string DataAs(const Prop& prop, ULONG type);

// Elements of a multi-valued value.
std::vector<std::string_view> SplitMultiValue(std::string_view data, ULONG type);
std::string JoinMultiValue(const std::vector<std::string>& elements, ULONG type);

// Scalar helpers for the stored form.
std::string EncodeLong(LONG value);
std::string EncodeBool(bool value);
std::string EncodeInt64(int64_t value);
std::string EncodeUnicode(std::u16string_view text);
LONG DecodeLong(std::string_view data);
int64_t DecodeInt64(std::string_view data);
Prop MakeProp(ULONG tag, std::string data);
} // namespace mapisvc
