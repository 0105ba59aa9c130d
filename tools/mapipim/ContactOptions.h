// The options of "contacts add" and "contacts edit": one per settable field of the contact record, plus the
// picture and the attachments. Only the options given change the record they are applied to, so "edit" reads the
// contact, applies them and writes it back.
#pragma once

#include <mapipim/MAPIContactInfo.h>

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace cli
{
class ContactOptions
{
public:
    // bEditing adds --no-picture (removing the picture of an existing contact).
    void AddTo(CLI::App& command, bool bEditing);

    bool AnyGiven() const;
    // Whether a new contact would hold anything: a field given a value that is not empty, a picture or a file.
    bool AnyValue() const;

    // Checks every file named, then changes the record. Throws Failure for a file that cannot be used, before the
    // record is touched.
    void ApplyTo(CMAPIContactInfo& contact) const;

    // The library saves a contact whose picture or attachment could not be added, tracing only; this compares
    // the contact as read back after the save and throws Failure naming what is missing.
    void CheckApplied(const CMAPIContactInfo& contact) const;

private:
    struct Given
    {
        CLI::Option* option = nullptr;
        std::string value;
        bool IsGiven() const { return option && option->count() > 0; }
    };

    std::vector<Given> m_text;  // parallel to ContactTextFields()
    std::vector<Given> m_dates; // parallel to ContactDateFields()
    Given m_sensitivity;
    Given m_picture;
    bool m_bNoPicture = false;
    std::vector<std::string> m_attachments;
};
} // namespace cli
