#include "seeds/SampleProps.h"

using namespace mapisvc;

namespace
{
template <class T> std::string Raw(const T& value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof(T));
}
} // namespace

PropertyBag SampleProps()
{
    PropertyBag bag;
    bag.Set(PR_IMPORTANCE, EncodeLong(2));
    bag.Set(PROP_TAG(PT_I2, 0x0E17), Raw<int16_t>(-3));
    bag.Set(PR_MESSAGE_FLAGS, EncodeLong(MSGFLAG_READ));
    bag.Set(PROP_TAG(PT_BOOLEAN, 0x0E1B), EncodeBool(true));
    bag.Set(PROP_TAG(PT_DOUBLE, 0x8001), Raw(2.5));
    bag.Set(PR_MESSAGE_DELIVERY_TIME, EncodeInt64(132000000000000000ll));
    bag.Set(PROP_TAG(PT_CLSID, 0x8002), std::string(16, '\x5A'));
    bag.Set(PR_SUBJECT_A, "Quarterly report \xE9t\xE9");
    bag.Set(PR_BODY_W, EncodeUnicode(u"Body text \u00E9\u4E2D\U0001F600"));
    bag.Set(PR_ENTRYID, std::string("\x00\x00\x00\x00\x01\x02\x03", 7));
    bag.Set(PROP_TAG(PT_MV_LONG, 0x8003), JoinMultiValue({EncodeLong(1), EncodeLong(-1)}, PT_MV_LONG));
    bag.Set(PROP_TAG(PT_MV_UNICODE, 0x8004),
            JoinMultiValue({EncodeUnicode(u"red"), EncodeUnicode(u"")}, PT_MV_UNICODE));
    bag.Set(PROP_TAG(PT_MV_STRING8, 0x8005), JoinMultiValue({"one", "two"}, PT_MV_STRING8));
    bag.Set(PROP_TAG(PT_MV_BINARY, 0x8006), JoinMultiValue({std::string("\x01\x00", 2)}, PT_MV_BINARY));
    bag.Set(PROP_TAG(PT_ERROR, 0x8007), EncodeLong(MAPI_E_NOT_FOUND));
    Prop large = MakeProp(PR_RTF_COMPRESSED, std::string(kLargeValueSize + 1, 'x'));
    bag.Set(std::move(large));
    return bag;
}
