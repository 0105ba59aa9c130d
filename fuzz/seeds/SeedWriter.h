// Writes seed inputs into corpus/<target>/<name>, the directories the fuzz targets are run on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class SeedWriter
{
public:
    explicit SeedWriter(std::string root) : m_root(std::move(root)) {}

    void Write(const std::string& target, const std::string& name, std::string_view bytes);
    void Write(const std::string& target, const std::string& name, const std::vector<unsigned char>& bytes)
    {
        Write(target, name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

    // A seed that could not be made: said on standard error, and the run fails.
    void Fail(const std::string& target, const std::string& why);
    // False once any seed could not be made or written.
    bool Succeeded() const { return m_succeeded; }

private:
    std::string m_root;
    bool m_succeeded = true;
};

// The seeds of each target, one function per target.
void WritePropertyBagSeeds(SeedWriter& writer);
void WriteEntryIdSeeds(SeedWriter& writer);
void WriteSessionEntryIdSeeds(SeedWriter& writer);
void WriteRestrictionSeeds(SeedWriter& writer);
void WriteByteStreamSeeds(SeedWriter& writer);
void WriteTextSeeds(SeedWriter& writer);
void WriteImageSeeds(SeedWriter& writer);
void WriteRecurrenceSeeds(SeedWriter& writer);
void WriteInteropSeeds(SeedWriter& writer);
void WriteMsgSeeds(SeedWriter& writer);

// Decodes <target>/<name>.hex below the source directory into <target>/<name>; false if one could not be.
bool WriteRegressionInputs(const std::string& sourceDirectory, SeedWriter& writer);
