// The markup objects' and markup contexts' reference counts run the tests every counted kind of the library runs
// (the class library's RefCountTests.h): one final release however the object is touched while it goes.
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupObject.h"

#include "../../platform/classlib/RefCountTests.h"

template <> struct RefCountKind<COSMMarkupObject>
{
    static LONG AddRef(COSMMarkupObject* object) { return object->AddRef(); }
    static LONG Release(COSMMarkupObject* object) { return object->Release(); }
    static LONG Count(const COSMMarkupObject* object) { return object->GetRefCount(); }
};

template <> struct RefCountKind<COSMMarkupContext>
{
    static LONG AddRef(COSMMarkupContext* context) { return context->AddRef(); }
    static LONG Release(COSMMarkupContext* context) { return context->Release(); }
    static LONG Count(const COSMMarkupContext* context) { return context->GetRefCount(); }
};

using MarkupKinds = testing::Types<COSMMarkupObject, COSMMarkupContext>;
INSTANTIATE_TYPED_TEST_SUITE_P(Markup, RefCountTest, MarkupKinds);
