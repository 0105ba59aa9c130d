#include "platform/mapi/msg/CompoundFile.h"

#include "platform/mapi/Text.h"
#include "platform/trace/Trace.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <cstdio>
#include <cstring>
#include <mutex>

namespace mapisvc::msg
{
namespace
{
// GObject references, dropped with the holder.
template <class T> struct GRef
{
    T* p = nullptr;
    GRef() = default;
    explicit GRef(T* object) : p(object) {}
    ~GRef()
    {
        if (p)
            g_object_unref(p);
    }
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
};

struct GErrorHolder
{
    GError* error = nullptr;
    ~GErrorHolder()
    {
        if (error)
            g_error_free(error);
    }
    std::string Message() const { return error && error->message ? error->message : "unreadable compound file"; }
};

// libgsf tells what it finds wrong in a damaged file through GLib's log, whose default handler writes to the host's
// standard error. The caller already gets a failure result, and the platform's own storage functions print
// nothing, so the details go to the trace log.
void TraceGsfMessage(const gchar*, GLogLevelFlags, const gchar* message, gpointer)
{
    LOGTRACE(_T("[MAPI] Compound file: %s"), FromUtf8(message ? message : "").c_str());
}

void InitGsf()
{
    static std::once_flag once;
    std::call_once(once,
                   []
                   {
                       gsf_init();
                       // Errors stay with GLib: they end the process whatever a handler does.
                       const auto levels =
                           GLogLevelFlags((G_LOG_LEVEL_MASK & ~G_LOG_LEVEL_ERROR) | G_LOG_FLAG_RECURSION);
                       for (const char* domain : {"libgsf", "libgsf:msole"})
                           g_log_set_handler(domain, levels, TraceGsfMessage, nullptr);
                   });
}

class TreeReader
{
public:
    TreeReader(const CompoundLimits& limits, std::string& why) : m_limits(limits), m_why(why) {}

    HRESULT ReadStorage(GsfInfile* infile, StorageNode& node, int depth)
    {
        if (depth > m_limits.maxDepth)
            return Refuse("storages nested too deep");
        const int count = gsf_infile_num_children(infile);
        for (int i = 0; i < count; ++i)
        {
            if (++m_elements > m_limits.maxElements)
                return Refuse("too many elements");
            GRef<GsfInput> child(gsf_infile_child_by_index(infile, i));
            if (!child.p)
                return Refuse("an element cannot be opened");
            auto childNode = std::make_shared<StorageNode>();
            const char* name = gsf_infile_name_by_index(infile, i);
            childNode->name = FromUtf8(name ? name : "");
            if (HRESULT hr = ReadElement(child.p, *childNode, depth + 1))
                return hr;
            node.children.push_back(std::move(childNode));
        }
        return S_OK;
    }

private:
    HRESULT ReadElement(GsfInput* input, StorageNode& node, int depth)
    {
        if (GSF_IS_INFILE(input) && gsf_infile_num_children(GSF_INFILE(input)) >= 0)
        {
            node.storage = true;
            guint8 clsid[16];
            if (GSF_IS_INFILE_MSOLE(input) && gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(input), clsid))
                std::memcpy(&node.clsid, clsid, 16);
            return ReadStorage(GSF_INFILE(input), node, depth);
        }
        const gsf_off_t size = gsf_input_size(input);
        if (size < 0 || uint64_t(size) > m_limits.maxBytes - m_bytes)
            return Refuse("streams larger than allowed");
        m_bytes += uint64_t(size);
        node.data.resize(size_t(size));
        if (size && !gsf_input_read(input, size_t(size), reinterpret_cast<guint8*>(&node.data[0])))
            return Refuse("a stream runs past the end of the file");
        return S_OK;
    }

    HRESULT Refuse(const char* reason)
    {
        m_why = reason;
        return STG_E_DOCFILECORRUPT;
    }

    const CompoundLimits& m_limits;
    std::string& m_why;
    size_t m_elements = 0;
    uint64_t m_bytes = 0;
};

HRESULT ReadTree(GsfInput* input, StorageNode& root, std::string& why, const CompoundLimits& limits)
{
    GErrorHolder error;
    GRef<GsfInfile> infile(gsf_infile_msole_new(input, &error.error));
    if (!infile.p)
    {
        why = error.Message();
        return STG_E_DOCFILECORRUPT;
    }
    StorageNode tree;
    tree.storage = true;
    guint8 clsid[16];
    if (gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(infile.p), clsid))
        std::memcpy(&tree.clsid, clsid, 16);
    TreeReader reader(limits, why);
    if (HRESULT hr = reader.ReadStorage(infile.p, tree, 0))
        return hr;
    root = std::move(tree);
    return S_OK;
}

bool WriteChildren(GsfOutfile* outfile, const StorageNode& node)
{
    for (const auto& child : node.children)
    {
        const std::string name = ToUtf8(child->name);
        GRef<GsfOutput> output(gsf_outfile_new_child(outfile, name.c_str(), child->storage));
        if (!output.p)
            return false;
        bool written = true;
        if (child->storage)
        {
            gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(output.p), reinterpret_cast<const guint8*>(&child->clsid));
            written = WriteChildren(GSF_OUTFILE(output.p), *child);
        }
        else if (!child->data.empty())
            written =
                gsf_output_write(output.p, child->data.size(), reinterpret_cast<const guint8*>(child->data.data()));
        if (!gsf_output_close(output.p) || !written)
            return false;
    }
    return true;
}
} // namespace

std::shared_ptr<StorageNode> StorageNode::Child(std::u16string_view childName) const
{
    for (const auto& child : children)
        if (EqualIgnoreCase(child->name, childName))
            return child;
    return nullptr;
}

bool StorageNode::Remove(std::u16string_view childName)
{
    for (auto it = children.begin(); it != children.end(); ++it)
        if (EqualIgnoreCase((*it)->name, childName))
        {
            children.erase(it);
            return true;
        }
    return false;
}

HRESULT LoadCompoundFile(const std::string& path, StorageNode& root, std::string& why, const CompoundLimits& limits)
{
    InitGsf();
    GErrorHolder error;
    GRef<GsfInput> input(gsf_input_stdio_new(path.c_str(), &error.error));
    if (!input.p)
    {
        why = error.Message();
        return STG_E_FILENOTFOUND;
    }
    return ReadTree(input.p, root, why, limits);
}

HRESULT LoadCompoundBytes(std::string_view bytes, StorageNode& root, std::string& why, const CompoundLimits& limits)
{
    InitGsf();
    GRef<GsfInput> input(
        gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.data()), gsf_off_t(bytes.size()), FALSE));
    if (!input.p)
    {
        why = "no memory";
        return STG_E_INSUFFICIENTMEMORY;
    }
    return ReadTree(input.p, root, why, limits);
}

HRESULT SaveCompoundFile(const std::string& path, const StorageNode& root)
{
    InitGsf();
    const std::string temporary = path + ".partial";
    bool written = false;
    {
        GRef<GsfOutput> sink(gsf_output_stdio_new(temporary.c_str(), nullptr));
        if (!sink.p)
            return STG_E_ACCESSDENIED;
        GRef<GsfOutfile> outfile(gsf_outfile_msole_new(sink.p));
        if (outfile.p)
        {
            gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(outfile.p), reinterpret_cast<const guint8*>(&root.clsid));
            written = WriteChildren(outfile.p, root);
            written = gsf_output_close(GSF_OUTPUT(outfile.p)) && written;
        }
        written = (gsf_output_is_closed(sink.p) || gsf_output_close(sink.p)) && written;
    }
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        std::remove(temporary.c_str());
        return STG_E_WRITEFAULT;
    }
    return S_OK;
}
} // namespace mapisvc::msg
