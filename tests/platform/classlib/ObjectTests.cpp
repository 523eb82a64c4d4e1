// Runtime-class records: creation by name, IsKindOf, schemas, and lookups made while statics are still being built.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class CShape : public CObject
{
    DECLARE_DYNCREATE(CShape)

public:
    virtual const char* Kind() const { return "shape"; }
};

class CCircle : public CShape
{
    DECLARE_SERIAL(CCircle)

public:
    const char* Kind() const override { return "circle"; }
    int m_radius = 3;
};

// Known by name but not creatable: it has no create function.
class CShapeFactory : public CObject
{
    DECLARE_DYNAMIC(CShapeFactory)
};

// What a lookup saw while this unit's statics were built: the records must already be complete then.
struct StaticTimeLookup
{
    StaticTimeLookup()
    {
        const CRuntimeClass* pCircle = CRuntimeClass::FromName("CCircle");
        circleFound = pCircle != nullptr;
        for (const CRuntimeClass* p = RUNTIME_CLASS(CDialog); p; p = p->m_pBaseClass)
            dialogChain += std::string(p->m_lpszClassName) + "/";
        const CRuntimeClass* pEdit = CRuntimeClass::FromName("CEdit");  // registered by the library's own unit
        editFound = pEdit == RUNTIME_CLASS(CEdit);
    }
    bool circleFound = false;
    bool editFound = false;
    std::string dialogChain;
};
const StaticTimeLookup g_staticTimeLookup;

}  // namespace

IMPLEMENT_DYNCREATE(CShape, CObject)
IMPLEMENT_SERIAL(CCircle, CShape, VERSIONABLE_SCHEMA | 0x22)
IMPLEMENT_DYNAMIC(CShapeFactory, CObject)

TEST(RuntimeClass, CreatesObjectsByClassName)
{
    struct Case
    {
        const char* name;
        const char* kind;
    };
    for (const Case& c : {Case{"CShape", "shape"}, Case{"CCircle", "circle"}})
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CObject> object(CRuntimeClass::CreateObject(c.name));
        ASSERT_NE(object, nullptr);
        EXPECT_STREQ(object->GetRuntimeClass()->m_lpszClassName, c.name);
        auto* shape = dynamic_cast<CShape*>(object.get());
        ASSERT_NE(shape, nullptr);
        EXPECT_STREQ(shape->Kind(), c.kind);
    }

    std::unique_ptr<CObject> circle(RUNTIME_CLASS(CCircle)->CreateObject());
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(static_cast<CCircle*>(circle.get())->m_radius, 3);
}

TEST(RuntimeClass, RefusesUnknownAndNonCreatableClasses)
{
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CShapeFactory"), RUNTIME_CLASS(CShapeFactory));
    EXPECT_EQ(CRuntimeClass::CreateObject("CShapeFactory"), nullptr);
    CShapeFactory factory;  // made the ordinary way it still knows its class
    EXPECT_EQ(factory.GetRuntimeClass(), RUNTIME_CLASS(CShapeFactory));
    // The library's windows are creatable by name too (two-phase creation: object first, window later).
    std::unique_ptr<CObject> wnd(CRuntimeClass::CreateObject("CWnd"));
    ASSERT_NE(wnd, nullptr);
    EXPECT_TRUE(wnd->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
}

TEST(RuntimeClass, RecordsHoldNameSizeSchemaAndBase)
{
    const CRuntimeClass* pCircle = RUNTIME_CLASS(CCircle);
    EXPECT_STREQ(pCircle->m_lpszClassName, "CCircle");
    EXPECT_EQ(pCircle->m_nObjectSize, static_cast<int>(sizeof(CCircle)));
    EXPECT_EQ(pCircle->m_wSchema, 0x80000022u);
    EXPECT_EQ(pCircle->m_pBaseClass, RUNTIME_CLASS(CShape));
    EXPECT_EQ(RUNTIME_CLASS(CShape)->m_wSchema, 0xFFFFu);
    EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pBaseClass, nullptr);
}

TEST(RuntimeClass, IsKindOfFollowsTheBaseChain)
{
    CCircle circle;
    CShape shape;
    struct Case
    {
        const CObject* object;
        const CRuntimeClass* pClass;
        bool expected;
    };
    const Case cases[] = {
        {&circle, RUNTIME_CLASS(CCircle), true},       {&circle, RUNTIME_CLASS(CShape), true},
        {&circle, RUNTIME_CLASS(CObject), true},       {&shape, RUNTIME_CLASS(CCircle), false},
        {&shape, RUNTIME_CLASS(CShapeFactory), false}, {&circle, RUNTIME_CLASS(CWnd), false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.object->GetRuntimeClass()->m_lpszClassName) + " as " + c.pClass->m_lpszClassName);
        EXPECT_EQ(c.object->IsKindOf(c.pClass) != FALSE, c.expected);
    }
    EXPECT_TRUE(RUNTIME_CLASS(CDialog)->IsDerivedFrom(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(RUNTIME_CLASS(CWnd)->IsDerivedFrom(RUNTIME_CLASS(CDialog)));
}

TEST(RuntimeClass, RecordsAreCompleteWhileStaticsAreBuilt)
{
    EXPECT_TRUE(g_staticTimeLookup.circleFound);
    EXPECT_TRUE(g_staticTimeLookup.editFound);
    EXPECT_EQ(g_staticTimeLookup.dialogChain, "CDialog/CWnd/CCmdTarget/CObject/");
}
