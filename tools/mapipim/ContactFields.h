// The fields of the contact record as the command line names them: the option that sets a field, its key in JSON
// output (the record's own field name) and its label in text output. One table serves options, JSON and text, so
// that a field cannot be settable and yet missing from the output, or the other way round.
#pragma once

#include <mapipim/MAPIContactInfo.h>

#include <string>
#include <vector>

namespace cli
{
struct ContactTextField
{
    const char* option; // without "--"; null for the names the library derives from the name parts
    const char* key;
    const char* label;
    CString CMAPIContactInfo::*member;
};

struct ContactDateField
{
    const char* option;
    const char* key;
    const char* label;
    SYSTEMTIME CMAPIContactInfo::*member;
};

// The text fields in record order, from strFullName to strInternetAddress.
const std::vector<ContactTextField>& ContactTextFields();
const std::vector<ContactDateField>& ContactDateFields();

// nSensitivity by name: none, personal, private, confidential (0 to 3).
std::string SensitivityName(int sensitivity);
const std::vector<std::string>& SensitivityNames();
} // namespace cli
