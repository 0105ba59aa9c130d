// One argument of a printf-style call, captured with its type.
//
// CString::Format and LOGTRACE take their arguments through a template that packs each one into a FormatArg, so the
// formatter knows how many arguments there are and what each one is. That makes the classic MFC idiom
// `str.Format(_T("%s"), strOther)` safe: g++ would pass a CString through `...` by hidden reference and the callee
// would read garbage. A format that names more arguments than were given, or the wrong kind, never reads memory
// that does not belong to an argument.
#include <mapipim/platform.h>

#ifndef MAPIPIM_AFX_FORMATARG_H
#define MAPIPIM_AFX_FORMATARG_H

#include <cstdint>
#include <type_traits>

namespace mapipim
{
class FormatArg
{
public:
    enum class Kind : unsigned char
    {
        None,
        Signed,
        Unsigned,
        Floating,
        WideText,
        NarrowText,
        Pointer
    };

    FormatArg() = default;

    template <typename T> FormatArg(const T& value) { Capture(value); }

    Kind GetKind() const { return m_kind; }
    // The width of an integer argument in bits (8, 16, 32 or 64).
    int GetBits() const { return m_nBits; }
    int64_t GetSigned() const { return m_value.i; }
    uint64_t GetUnsigned() const { return m_value.u; }
    double GetFloating() const { return m_value.d; }
    const WCHAR* GetWideText() const { return m_value.w; }
    const char* GetNarrowText() const { return m_value.n; }
    const void* GetPointer() const { return m_value.p; }

private:
    template <typename T> void Capture(const T& value)
    {
        using Decayed = std::decay_t<const T>; // arrays decay to pointers to const
        if constexpr (std::is_same_v<Decayed, bool>)
            SetSigned(value ? 1 : 0, 32);
        else if constexpr (std::is_integral_v<Decayed>)
        {
            if constexpr (std::is_signed_v<Decayed>)
                SetSigned(static_cast<int64_t>(value), sizeof(Decayed) * 8);
            else
                SetUnsigned(static_cast<uint64_t>(value), sizeof(Decayed) * 8);
        }
        else if constexpr (std::is_enum_v<Decayed>)
            Capture(static_cast<std::underlying_type_t<Decayed>>(value));
        else if constexpr (std::is_floating_point_v<Decayed>)
        {
            m_kind = Kind::Floating;
            m_value.d = static_cast<double>(value);
        }
        else if constexpr (std::is_null_pointer_v<Decayed>)
            SetPointer(nullptr);
        else if constexpr (std::is_pointer_v<Decayed>)
            CapturePointer(static_cast<Decayed>(value));
        else if constexpr (std::is_class_v<Decayed> && std::is_convertible_v<const Decayed&, const WCHAR*>)
            SetWideText(static_cast<const WCHAR*>(value));
        else
            static_assert(sizeof(Decayed) == 0, "this type cannot be passed to a printf-style format");
    }

    template <typename P> void CapturePointer(P pointer)
    {
        using Pointee = std::remove_cv_t<std::remove_pointer_t<P>>;
        if constexpr (std::is_same_v<Pointee, WCHAR> || std::is_same_v<Pointee, char16_t>)
            SetWideText(reinterpret_cast<const WCHAR*>(pointer)); // char16_t is UTF-16 on Windows too
        else if constexpr (std::is_same_v<Pointee, char>)
        {
            m_kind = Kind::NarrowText;
            m_value.n = pointer;
        }
        else if constexpr (std::is_same_v<Pointee, wchar_t>) // reached only where wchar_t is not WCHAR
            static_assert(sizeof(P) == 0, "wchar_t text is not UTF-16 here: pass WCHAR text");
        else
            SetPointer(reinterpret_cast<const void*>(pointer));
    }

    void SetSigned(int64_t value, int nBits)
    {
        m_kind = Kind::Signed;
        m_nBits = static_cast<unsigned char>(nBits);
        m_value.i = value;
    }
    void SetUnsigned(uint64_t value, int nBits)
    {
        m_kind = Kind::Unsigned;
        m_nBits = static_cast<unsigned char>(nBits);
        m_value.u = value;
    }
    void SetWideText(const WCHAR* text)
    {
        m_kind = Kind::WideText;
        m_value.w = text;
    }
    void SetPointer(const void* pointer)
    {
        m_kind = Kind::Pointer;
        m_nBits = static_cast<unsigned char>(sizeof(void*) * 8);
        m_value.p = pointer;
    }

    Kind m_kind = Kind::None;
    unsigned char m_nBits = 0;
    union
    {
        int64_t i;
        uint64_t u;
        double d;
        const WCHAR* w;
        const char* n;
        const void* p;
    } m_value = {0};
};
} // namespace mapipim

#endif
