#include "session/SingleProperty.h"

namespace mapipim
{
bool ReadSingleProperty(IMAPIProp* pObject, ULONG ulPropTag, ULONG ulFlags, ScopedBuffer<SPropValue>& value)
{
    if (!pObject)
        return false;
    SizedSPropTagArray(1, tags) = {1, {ulPropTag}};
    ULONG cValues = 0;
    return pObject->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), ulFlags, &cValues, &value.Receive()) == S_OK &&
           value && cValues == 1 && value->ulPropTag == ulPropTag;
}
} // namespace mapipim
