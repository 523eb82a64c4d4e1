// Interface maps: how a command target hands out COM interfaces. A class that implements an interface in a member
// object (a "nested" COM object whose QueryInterface, AddRef and Release call the target's ExternalQueryInterface,
// ExternalAddRef and ExternalRelease: CNestedInterface in CmdTarget.h does that) lists that member in its map:
//
//   class CShape : public CCmdTarget
//   {
//       struct XOleWindow : CNestedInterface<IOleWindow> { ... GetWindow, ContextSensitiveHelp ... };
//       XOleWindow m_xOleWindow{this};
//       DECLARE_INTERFACE_MAP()
//   };
//
//   BEGIN_INTERFACE_MAP(CShape, CCmdTarget)
//       INTERFACE_PART(IOleWindow, m_xOleWindow)
//   END_INTERFACE_MAP()
//
// The entry takes the interface's IID from the interface type itself, and the member must convert to a pointer to
// that interface, so an entry cannot name one interface and hand out another. Lookups search the class's map, then
// its bases' maps. The object's reference count is the command target's own (InternalAddRef/InternalRelease): the
// release of the last COM reference ends the object like any other last release. IUnknown always answers with the
// same pointer (the automation IDispatch when EnableAutomation was called, else the first interface of the map), as
// COM's identity rule asks. Aggregation is not supported.
#pragma once

#include "classlib/ClassLibBase.h"

#include <ole2.h>

class CCmdTarget;

struct AFX_INTERFACEMAP_ENTRY
{
    const IID* piid;  // null ends the map
    IUnknown* (*pfnGetInterface)(CCmdTarget* pTarget);
};

struct AFX_INTERFACEMAP
{
    const AFX_INTERFACEMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_INTERFACEMAP_ENTRY* pEntries;
};

#define DECLARE_INTERFACE_MAP()                                                                                        \
protected:                                                                                                             \
    static const AFX_INTERFACEMAP* PASCAL GetThisInterfaceMap();                                                       \
    const AFX_INTERFACEMAP* GetInterfaceMap() const override;

#define BEGIN_INTERFACE_MAP(theClass, baseClass)                                                                       \
    const AFX_INTERFACEMAP* theClass::GetInterfaceMap() const                                                          \
    {                                                                                                                  \
        return GetThisInterfaceMap();                                                                                  \
    }                                                                                                                  \
    const AFX_INTERFACEMAP* PASCAL theClass::GetThisInterfaceMap()                                                     \
    {                                                                                                                  \
        typedef theClass ThisClass;                                                                                    \
        typedef baseClass TheBaseClass;                                                                                \
        static const AFX_INTERFACEMAP_ENTRY _interfaceEntries[] = {

// theInterface: the COM interface type; member: the object (of this class or a base) that implements it.
#define INTERFACE_PART(theInterface, member)                                                                           \
    {&__uuidof(theInterface), [](CCmdTarget* osmTarget) -> IUnknown* {                                                 \
         theInterface* osmInterface = &static_cast<ThisClass*>(osmTarget)->member;                                     \
         return osmInterface;                                                                                          \
     }},

#define END_INTERFACE_MAP()                                                                                            \
    {                                                                                                                  \
        nullptr, nullptr                                                                                               \
    }                                                                                                                  \
    }                                                                                                                  \
    ;                                                                                                                  \
    static const AFX_INTERFACEMAP interfaceMap = {&TheBaseClass::GetThisInterfaceMap, &_interfaceEntries[0]};          \
    return &interfaceMap;                                                                                              \
    }
