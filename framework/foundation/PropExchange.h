// COSMPropExchange: the framework's one way of saving and loading an object's state. An object writes one
// exchange routine; each call names a value, gives its type code, the member and (optionally) a default.
// Loading fills the member, storing writes it, so one routine serves both directions:
//
//   void CMyBar::DoPropExchange(COSMPropExchange* px)
//   {
//       px->ExchangeSchema();
//       PropExchangeBool(px, "Visible", &m_bVisible, TRUE);
//       PropExchangeString(px, "Title", &m_strTitle, "");
//       std::unique_ptr<COSMPropExchangeEnumerator> items(px->GetEnumerator("Item"));
//       POSITION pos = items->GetPosition(m_items.GetSize());
//       while (pos)
//       {
//           // Held: a damaged store raises CArchiveException anywhere in the loop.
//           const RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(items->GetNext(pos));
//           ...exchange one item in section.Get()...
//       }
//   }
//
// Child objects and lists go into named sections ("Item0", "Item1", ...); a list is its "Count" and its
// sections. Stores come in two kinds: named ones look values up by name and may omit absent ones
// (CanOmitValues), sequential ones replay values in call order (IsSequentialStorage) and ignore names and
// defaults. The archive store (COSMPropExchangeArchive) is the sequential one.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"

// Type codes of ExchangeProp: the OLE variant numbers where one exists.
enum : VARTYPE
{
    OSM_PX_SHORT = 2,     // short
    OSM_PX_LONG = 3,      // long, int or DWORD
    OSM_PX_FLOAT = 4,     // float
    OSM_PX_DOUBLE = 5,    // double
    OSM_PX_CURRENCY = 6,  // CY
    OSM_PX_DATETIME = 7,  // COleDateTime
    OSM_PX_BOOL = 11,     // BOOL (4 bytes)
    OSM_PX_VARIANT = 12,  // VARIANT
    OSM_PX_BYTE = 17,     // BYTE
    OSM_PX_STRING = 30,   // CString
    OSM_PX_RECT = 100,    // RECT (four 32-bit integers)
    OSM_PX_SIZE = 101,    // SIZE (two 32-bit integers)
};

class COSMPropExchangeEnumerator;

class COSMPropExchange : public CCmdTarget
{
    DECLARE_DYNAMIC(COSMPropExchange)

public:
    // The schema a new exchange writes; older data is told apart by the number it stored.
    static const long kCurrentSchema = 0x22;

    COSMPropExchange();
    ~COSMPropExchange() override;

    // Override these.
    // Exchanges one value of the given type code; defaultValue (same type, may be null) is what a named store
    // assumes for an absent value. Unknown codes exchange nothing and succeed.
    virtual BOOL ExchangeProp(LPCSTR name, VARTYPE type, void* value, const void* defaultValue = nullptr) = 0;
    // A block of bytes. Loading into *data == nullptr allocates the block with malloc (the caller frees it)
    // and sets *size; otherwise *size is the room in *data and must hold the stored block.
    virtual BOOL ExchangeBlob(LPCSTR name, BYTE** data, DWORD* size);
    virtual BOOL ExchangeRuntimeClass(LPCSTR name, CRuntimeClass** runtimeClass, CRuntimeClass* defaultClass);
    // Storing: the object's class under "Class". Loading: makes an object of the stored class, which must
    // derive from baseClass; *object receives it (the caller owns it).
    virtual BOOL ExchangeObjectInstance(CObject** object, CRuntimeClass* baseClass);
    // An archive to serialise into under that name (null when there is nothing to load); give it back to
    // ReleaseArchive with the same name.
    virtual CArchive* GetArchive(LPCSTR name);
    virtual void ReleaseArchive(LPCSTR name, CArchive* archive);
    // A new exchange for a child object or a list item; the caller owns its reference (hold it in a RefPtr).
    virtual COSMPropExchange* GetSection(LPCSTR name) = 0;
    virtual COSMPropExchange* SetSectionFlag();
    virtual void WriteCount(DWORD count);
    virtual DWORD ReadCount();
    virtual void Write(LPCSTR name, const void* data, DWORD size);
    // The number of bytes read into data (at most size), 0 on failure.
    virtual DWORD Read(LPCSTR name, void* data, DWORD size);
    virtual BOOL CanOmitValues() const;
    virtual BOOL IsSequentialStorage() const;
    virtual BOOL OnBeforeExchange();
    // The caller deletes the enumerator.
    virtual COSMPropExchangeEnumerator* GetEnumerator(LPCSTR sectionBaseName);
    // "Schema": stores m_nSchema, or loads it (0x20 when absent).
    virtual void ExchangeSchema();

    // Not meant to be overridden.
    BOOL IsLoading() const { return m_bLoading; }
    BOOL IsStoring() const { return !m_bLoading; }
    BOOL IsRootSection() const { return !m_bChildSection; }
    BOOL IsAllowDefaultValues() const { return m_bUseDefaultOnLoad && m_bUseDefaultOnSave; }
    void UseDefaultOnLoad(BOOL use) { m_bUseDefaultOnLoad = use; }
    void UseDefaultOnSave(BOOL use) { m_bUseDefaultOnSave = use; }

    // Data of the save or load in progress, attached by the caller and read by the objects exchanged; sections
    // inherit it.
    DWORD_PTR m_dwData = 0;
    // A second pointer for the caller; sections do not inherit it.
    void* m_pOwner = nullptr;
    BOOL m_bLoading = FALSE;
    long m_nSchema = kCurrentSchema;
    BOOL m_bChildSection = FALSE;
    BOOL m_bSectionFlag = FALSE;
    BOOL m_bUsed = FALSE;
    BOOL m_bUseDefaultOnLoad = TRUE;
    BOOL m_bUseDefaultOnSave = TRUE;

protected:
    // What a section takes from its parent.
    void InheritSettings(const COSMPropExchange* parent);
};

// Walks the sections of a list: GetPosition exchanges the count, GetNext makes section "<base><index>".
class COSMPropExchangeEnumerator
{
public:
    COSMPropExchangeEnumerator(COSMPropExchange* owner, LPCSTR sectionBaseName);
    virtual ~COSMPropExchangeEnumerator();

    // Exchanges the count ("Count", or the store's count form with compact); non-null while items remain.
    virtual POSITION GetPosition(DWORD count = 0, BOOL compact = FALSE);
    // The next item's section (release it after use); pos moves on and becomes null after the last.
    virtual COSMPropExchange* GetNext(POSITION& pos);

protected:
    COSMPropExchange* m_pOwner;
    CString m_strSectionName;
    DWORD m_nCount = 0;
};

// Typed helpers: FALSE for a null exchange, otherwise the exchange's result.
BOOL PropExchangeByte(COSMPropExchange* px, LPCSTR name, BYTE* value, BYTE defaultValue);
BOOL PropExchangeShort(COSMPropExchange* px, LPCSTR name, short* value, short defaultValue);
BOOL PropExchangeLong(COSMPropExchange* px, LPCSTR name, long* value, long defaultValue);
BOOL PropExchangeLongNoDefault(COSMPropExchange* px, LPCSTR name, long* value);
BOOL PropExchangeDWord(COSMPropExchange* px, LPCSTR name, DWORD* value, DWORD defaultValue);
BOOL PropExchangeBool(COSMPropExchange* px, LPCSTR name, BOOL* value, BOOL defaultValue);
BOOL PropExchangeString(COSMPropExchange* px, LPCSTR name, CString* value, LPCSTR defaultValue);
BOOL PropExchangeStringNoDefault(COSMPropExchange* px, LPCSTR name, CString* value);
BOOL PropExchangeSize(COSMPropExchange* px, LPCSTR name, SIZE* value, SIZE defaultValue);
BOOL PropExchangeRect(COSMPropExchange* px, LPCSTR name, RECT* value, RECT defaultValue);
BOOL PropExchangeRuntimeClass(COSMPropExchange* px, LPCSTR name, CRuntimeClass** runtimeClass,
                              CRuntimeClass* defaultClass);
BOOL PropExchangeBlob(COSMPropExchange* px, LPCSTR name, BYTE** data, DWORD* size);

// Serialises object through the exchange's archive under name. FALSE when there is no archive or the object's
// Serialize raised; on a sequential store the exception is passed on after the archive is given back, since
// the stream's position is then unknown.
BOOL PropExchangeSerialize(COSMPropExchange* px, LPCSTR name, CObject* object);

// The runtime class of that exact name (case matters), or null.
CRuntimeClass* FindRuntimeClass(LPCSTR className);
