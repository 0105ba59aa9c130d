#include "platform/mapi/HtmlText.h"

#include "platform/mapi/Text.h"

#include <libxml/HTMLparser.h>

#include <cstring>
#include <memory>

namespace mapisvc
{
namespace
{
bool NameIs(const xmlNode* node, std::initializer_list<const char*> names)
{
    const char* name = reinterpret_cast<const char*>(node->name);
    for (const char* candidate : names)
        if (name && strcasecmp(name, candidate) == 0)
            return true;
    return false;
}

bool IsSpace(char16_t ch)
{
    return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n' || ch == u'\f';
}

class TextRenderer
{
public:
    void Walk(const xmlNode* node, int depth)
    {
        // Nesting beyond any real document is flattened rather than followed down the stack.
        for (const xmlNode* child = node; child; child = child->next)
        {
            if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
                Text(FromUtf8(reinterpret_cast<const char*>(child->content ? child->content : BAD_CAST "")));
            else if (child->type == XML_ELEMENT_NODE)
                Element(child, depth);
        }
    }

    std::u16string Finish()
    {
        while (!m_out.empty() && IsSpace(m_out.back()))
            m_out.pop_back();
        return std::move(m_out);
    }

private:
    void Element(const xmlNode* node, int depth)
    {
        if (NameIs(node, {"script", "style", "head", "title", "noscript", "template"}))
            return;
        if (NameIs(node, {"br"}))
        {
            LineBreak();
            return;
        }
        const bool pre = NameIs(node, {"pre", "textarea"});
        const bool block = pre || NameIs(node, {"p", "div", "h1", "h2", "h3", "h4", "h5", "h6", "li", "tr", "table",
                                                "ul", "ol", "dl", "dt", "dd", "blockquote", "hr", "address",
                                                "section", "article", "header", "footer", "form", "center"});
        if (block)
            EndLine();
        if (NameIs(node, {"td", "th"}) && !m_atLineStart)
            Append(u"\t");
        m_pre += pre ? 1 : 0;
        if (depth < 200)
            Walk(node->children, depth + 1);
        m_pre -= pre ? 1 : 0;
        if (block)
            EndLine();
    }

    void Text(const std::u16string& text)
    {
        if (m_pre)
        {
            for (char16_t ch : text)
            {
                if (ch == u'\r')
                    continue;
                if (ch == u'\n')
                    LineBreak();
                else
                    Append(std::u16string(1, ch));
            }
            return;
        }
        for (char16_t ch : text)
        {
            if (IsSpace(ch))
            {
                m_space = !m_atLineStart;
                continue;
            }
            if (m_space)
                m_out.push_back(u' ');
            m_space = false;
            m_out.push_back(ch);
            m_atLineStart = false;
        }
    }

    void Append(const std::u16string& text)
    {
        if (m_space)
            m_out.push_back(u' ');
        m_space = false;
        m_out += text;
        m_atLineStart = false;
    }

    void LineBreak()
    {
        m_out += u"\r\n";
        m_space = false;
        m_atLineStart = true;
    }

    // A block starts and ends on a line of its own.
    void EndLine()
    {
        if (!m_atLineStart)
            LineBreak();
    }

    std::u16string m_out;
    bool m_space = false;
    bool m_atLineStart = true;
    int m_pre = 0;
};

struct DocumentFree
{
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
} // namespace

std::u16string HtmlToText(std::u16string_view html)
{
    if (html.empty())
        return std::u16string();
    const std::string utf8 = ToUtf8(html);
    std::unique_ptr<xmlDoc, DocumentFree> doc(htmlReadMemory(
        utf8.data(), static_cast<int>(utf8.size()), nullptr, "UTF-8",
        HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET | HTML_PARSE_NOIMPLIED));
    if (!doc)
        return std::u16string();
    TextRenderer renderer;
    renderer.Walk(doc->children, 0);
    return renderer.Finish();
}
} // namespace mapisvc
