// A property list with a value of every type the service stores, as a message of the store could hold it.
#pragma once

#include "platform/mapi/PropertyBag.h"

mapisvc::PropertyBag SampleProps();
