// CObject is the root of the library's classes. It carries a runtime-class record, so code can ask an object what
// it is (IsKindOf) and create objects from a class name:
//
//   class CShape : public CObject { DECLARE_DYNCREATE(CShape) ... };   // in the header
//   IMPLEMENT_DYNCREATE(CShape, CObject)                              // in one .cpp
//   CObject* p = CRuntimeClass::CreateObject("CShape");              // or RUNTIME_CLASS(CShape)->CreateObject()
//
// Every IMPLEMENT_ macro also registers the record by name. The registration is a constant pointer the linker
// gathers into one table (a section of its own, sorted between two markers), so it exists before any static
// constructor runs: lookups by name work from static initializers too, whatever order the units are initialized in.
#pragma once

#include "classlib/ClassLibBase.h"

// Schema bit a class sets when its stored form may come in several versions.
#ifndef VERSIONABLE_SCHEMA
#define VERSIONABLE_SCHEMA (0x80000000)
#endif

struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                         // 0xFFFF for classes that cannot be stored
    CObject*(PASCAL* m_pfnCreateObject)();  // null for classes that cannot be created dynamically
    CRuntimeClass* m_pBaseClass;            // null only for CObject

    // Makes a new object of this class on the heap (delete it with delete); null when not creatable.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // The registered record with that class name, or null.
    static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);
    static CObject* PASCAL CreateObject(LPCSTR lpszClassName);
};

// For the library's own use: the table entry an IMPLEMENT_ macro adds (the table lies between the markers of
// Object.cpp, in sections ".data$osm_rtc_a" ... "_c"; the linker sorts the ".data$" sections by name).
#define OSM_RUNTIME_CLASS_TABLE_ENTRY __attribute__((section(".data$osm_rtc_b"), used))

class CObject
{
public:
    virtual ~CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

    // Override these (the DECLARE_ macros do it for you).
    virtual CRuntimeClass* GetRuntimeClass() const;
    // Writes the object's state to a storing archive or reads it from a loading one (Archive.h); does nothing here.
    virtual void Serialize(CArchive& ar);

    // Not meant to be overridden.
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    // TRUE when the class was declared with a schema (IMPLEMENT_SERIAL), so an archive can name it.
    BOOL IsSerializable() const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name)                                                                                    \
public:                                                                                                                \
    static const CRuntimeClass class##class_name;                                                                      \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name)                                                                                  \
    DECLARE_DYNAMIC(class_name)                                                                                        \
    static CObject* PASCAL CreateObject();

// Storable classes keep their schema number in the record (IMPLEMENT_SERIAL); an archive writes it with the class's
// name (CArchive::WriteClass) and the class's Serialize stores the rest. Classes declared any other way carry 0xFFFF,
// which no archive accepts.
#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                                           \
    const CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)),            \
                                                         static_cast<UINT>(wSchema), pfnNew,                           \
                                                         RUNTIME_CLASS(base_class_name)};                              \
    OSM_RUNTIME_CLASS_TABLE_ENTRY static const CRuntimeClass* const osmRuntimeClassEntry_##class_name =                \
        &class_name::class##class_name;                                                                                \
    CRuntimeClass* class_name::GetRuntimeClass() const                                                                 \
    {                                                                                                                  \
        return RUNTIME_CLASS(class_name);                                                                              \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                                 \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                               \
    CObject* PASCAL class_name::CreateObject()                                                                         \
    {                                                                                                                  \
        return new class_name;                                                                                         \
    }                                                                                                                  \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                                         \
    CObject* PASCAL class_name::CreateObject()                                                                         \
    {                                                                                                                  \
        return new class_name;                                                                                         \
    }                                                                                                                  \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)
