// CArray<TYPE, ARG_TYPE>: MFC's growable array, for builds without MFC. The library fills such arrays with record
// pointers that the host owns.
//
// As in MFC the array cannot be copied implicitly (Copy and Append say what happens); it can be moved. Unlike MFC
// nothing throws: an index outside the array reads a default value (a null pointer for record arrays), and writes
// through it go to a scratch element that the array does not hold; RemoveAt clamps its count.
#include <mapipim/platform.h>

#ifndef MAPIPIM_AFX_ARRAY_H
#define MAPIPIM_AFX_ARRAY_H

#include <vector>

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray
{
public:
    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;
    CArray(CArray&&) noexcept = default;
    CArray& operator=(CArray&&) noexcept = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_elements.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_elements.empty(); }

    // New elements are value-initialised: null pointers, zero numbers. nGrowBy is accepted for compatibility;
    // the array grows geometrically.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        (void)nGrowBy;
        if (nNewSize >= 0)
            m_elements.resize(static_cast<size_t>(nNewSize));
    }
    void FreeExtra() { m_elements.shrink_to_fit(); }
    void RemoveAll() { m_elements.clear(); }

    const TYPE& GetAt(INT_PTR nIndex) const
    {
        return IsIndex(nIndex) ? m_elements[static_cast<size_t>(nIndex)] : Missing();
    }
    TYPE& GetAt(INT_PTR nIndex) { return IsIndex(nIndex) ? m_elements[static_cast<size_t>(nIndex)] : Scratch(); }
    TYPE& ElementAt(INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE& ElementAt(INT_PTR nIndex) const { return GetAt(nIndex); }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (IsIndex(nIndex))
            m_elements[static_cast<size_t>(nIndex)] = newElement;
    }
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            return;
        TYPE element(newElement); // newElement may live in this array, which the resize can move
        if (nIndex >= GetSize())
            SetSize(nIndex + 1);
        m_elements[static_cast<size_t>(nIndex)] = std::move(element);
    }

    const TYPE* GetData() const { return m_elements.empty() ? nullptr : m_elements.data(); }
    TYPE* GetData() { return m_elements.empty() ? nullptr : m_elements.data(); }

    // Returns the index of the new element.
    INT_PTR Add(ARG_TYPE newElement)
    {
        m_elements.push_back(TYPE(newElement));
        return GetUpperBound();
    }
    // Returns the index of the first appended element.
    INT_PTR Append(const CArray& src)
    {
        const INT_PTR nOldSize = GetSize();
        if (&src == this)
        {
            const std::vector<TYPE> copy(m_elements);
            m_elements.insert(m_elements.end(), copy.begin(), copy.end());
        }
        else
            m_elements.insert(m_elements.end(), src.m_elements.begin(), src.m_elements.end());
        return nOldSize;
    }
    void Copy(const CArray& src)
    {
        if (&src != this)
            m_elements = src.m_elements;
    }

    // Inserting beyond the end grows the array first, as MFC does.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0)
            return;
        TYPE element(newElement);
        if (nIndex > GetSize())
            SetSize(nIndex);
        m_elements.insert(m_elements.begin() + nIndex, static_cast<size_t>(nCount), element);
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        if (pNewArray == nullptr || nStartIndex < 0 || pNewArray->IsEmpty())
            return;
        const std::vector<TYPE> inserted(pNewArray->m_elements);
        if (nStartIndex > GetSize())
            SetSize(nStartIndex);
        m_elements.insert(m_elements.begin() + nStartIndex, inserted.begin(), inserted.end());
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (!IsIndex(nIndex) || nCount <= 0)
            return;
        const INT_PTR nLast = nCount > GetSize() - nIndex ? GetSize() : nIndex + nCount;
        m_elements.erase(m_elements.begin() + nIndex, m_elements.begin() + nLast);
    }

private:
    bool IsIndex(INT_PTR nIndex) const { return nIndex >= 0 && nIndex < GetSize(); }
    static const TYPE& Missing()
    {
        static const TYPE missing{};
        return missing;
    }
    static TYPE& Scratch()
    {
        static thread_local TYPE scratch;
        scratch = TYPE();
        return scratch;
    }

    std::vector<TYPE> m_elements;
};

#endif
