// CMAPIInterface: contact folders, and single contacts, to and from vCard files.
#include <mapipim/MAPIInterface.h>
#include <mapipim/SBinaryUtils.h>

#include "interface/ItemOperations.h"
#include "interop/InteropRun.h"
#include "interop/InteropText.h"
#include "interop/VCardContact.h"
#include "items/MAPIContactItem.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace mapipim::interop;

namespace
{
namespace fs = std::filesystem;

const ULONG kReadEverything = 0x7;

const mapipim::ItemKindTexts kContactExportTexts = {
    _T("ExportVCard"),
    _T("[MAPI] ExportVCard - Open failed a folder : %s"),
    _T("[MAPI] ExportVCard - Open failed a contact : %s"),
    _T("[MAPI] ExportVCard - Create failed a contact : %s"),
};

// A file of the process's own for a picture on its way between a card and a store; removed when done.
class PictureFile
{
public:
    explicit PictureFile(const char* szExtension)
    {
        static std::atomic<int> s_nNext{0};
        m_path = fs::temp_directory_path() /
                 ("mapipim-picture-" + std::to_string(getpid()) + "-" + std::to_string(++s_nNext) + szExtension);
    }
    ~PictureFile()
    {
        std::error_code ignored;
        fs::remove(m_path, ignored);
    }
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    CString Path() const { return TextOf(m_path.string()); }
    bool Write(const std::vector<unsigned char>& bytes) const
    {
        std::ofstream out(m_path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    }
    std::vector<unsigned char> Read() const
    {
        std::ifstream in(m_path, std::ios::binary);
        return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    fs::path m_path;
};

std::string MediaTypeOf(const std::vector<unsigned char>& bytes)
{
    if (bytes.size() > 3 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G')
        return "image/png";
    return "image/jpeg";
}

// The contact's picture as the store keeps it (a JPEG the contact item made); empty without one.
Picture PictureOf(CMAPIEx& mapi, CMAPIContactInfo& contact)
{
    Picture picture;
    if (contact.strPicturePath.IsEmpty())
        return picture;
    CMAPIContactItem item;
    PictureFile file(".jpg");
    if (!item.Open(&mapi, contact.sbEntryID) || !item.SaveAttachment(file.Path(), -1, MAPIPIM_ATTACH_PHOTO_ONLY))
        return picture;
    picture.bytes = file.Read();
    picture.mediaType = MediaTypeOf(picture.bytes);
    return picture;
}

BOOL WriteCards(LPCWSTR szPath, const std::string& text, InteropRun& run)
{
    if (!WriteWholeFile(szPath, text))
        return run.Fail("the file cannot be written");
    return run.Finish();
}
} // namespace

BOOL CMAPIInterface::ExportVCard(COutlookFolder* pFolder, LPCWSTR szPath, CInteropReport* pReport)
{
    InteropRun run(m_hMsgWnd, pFolder, pReport, _T("ExportVCard"), szPath);
    if (!pFolder || !szPath)
        return FALSE;
    CArray<CMAPIContactInfo*, CMAPIContactInfo*> contacts;
    const bool bListed =
        mapipim::ItemOperations<CMAPIContactInfo, CMAPIContactItem>(m_MAPI, NULL, kContactExportTexts)
            .List(pFolder, contacts, kReadEverything) != FALSE;
    std::string text;
    for (INT_PTR i = 0; bListed && i < contacts.GetSize() && !run.Cancelled(); ++i)
    {
        text += WriteVCard(*contacts[i], PictureOf(m_MAPI, *contacts[i]));
        run.Done(contacts[i]);
    }
    for (INT_PTR i = 0; i < contacts.GetSize(); ++i)
        delete contacts[i];
    if (!bListed || run.Cancelled())
        return FALSE;
    return WriteCards(szPath, text, run);
}

BOOL CMAPIInterface::ExportVCard(SBinary& entryID, LPCWSTR szPath, CInteropReport* pReport)
{
    InteropRun run(m_hMsgWnd, NULL, pReport, _T("ExportVCard"), szPath);
    if (!szPath)
        return FALSE;
    CMAPIContactInfo contact;
    CopySBinary(contact.sbEntryID, entryID);
    if (!GetContact(&contact, kReadEverything))
        return run.Fail("the contact cannot be read");
    const std::string text = WriteVCard(contact, PictureOf(m_MAPI, contact));
    run.Done(&contact);
    return WriteCards(szPath, text, run);
}

BOOL CMAPIInterface::ImportVCard(COutlookFolder* pFolder, LPCWSTR szPath, CInteropReport* pReport)
{
    InteropRun run(m_hMsgWnd, pFolder, pReport, _T("ImportVCard"), szPath);
    if (!pFolder || !szPath)
        return FALSE;
    std::string text, error;
    if (!ReadWholeFile(szPath, text, error))
        return run.Fail(error);
    std::vector<ReadCard> cards = ReadVCards(text);
    text.clear();
    for (ReadCard& card : cards)
    {
        if (run.Cancelled())
            return FALSE;
        if (!card.error.empty())
        {
            run.Skip(card.error);
            continue;
        }
        const bool bPng = card.picture.mediaType == "image/png";
        PictureFile picture(bPng ? ".png" : ".jpg");
        card.contact.strPicturePath.Empty(); // no picture unless the card has one
        if (!card.picture.bytes.empty())
        {
            if (!picture.Write(card.picture.bytes))
            {
                run.Skip("line " + std::to_string(card.nLine) + ": the picture cannot be kept for the store");
                continue;
            }
            card.contact.strPicturePath = picture.Path();
        }
        if (!CreateContact(pFolder, &card.contact))
        {
            run.Skip("line " + std::to_string(card.nLine) + ": the contact cannot be created");
            continue;
        }
        run.Done(&card.contact);
    }
    return run.Finish();
}
