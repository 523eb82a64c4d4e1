// Markup classes made for the tests: a small tree of nodes with logical children and properties of every kind the
// tests need, a node of another class, two classes under one private tag, and an object whose final release is
// only counted.
#pragma once

#include "framework/markup/MarkupCollection.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupObject.h"

#include <climits>
#include <vector>

namespace markup_test {

// A node that keeps logical children (one reference each).
class CTreeNode : public COSMMarkupObject
{
public:
    // Takes over child's reference; returns child.
    COSMMarkupObject* AddChild(COSMMarkupObject* child);

    int GetLogicalChildrenCount() const override { return static_cast<int>(m_children.size()); }
    COSMMarkupObject* GetLogicalChild(int index) const override;

protected:
    ~CTreeNode() override;

private:
    std::vector<COSMMarkupObject*> m_children;
};

// The node the tests set values on.
class CTestNode : public CTreeNode
{
    DECLARE_MARKUP_TYPE(CTestNode)

public:
    static void RegisterMarkupProperties();

    // COSMMarkupInt, inherited by logical descendants, default 0, recording its changes.
    static COSMMarkupDependencyProperty* s_pInheritedProperty;
    // COSMMarkupInt, not inherited, no default, recording its changes.
    static COSMMarkupDependencyProperty* s_pCountProperty;
    // COSMMarkupString, no metadata.
    static COSMMarkupDependencyProperty* s_pTextProperty;
    // COSMMarkupInt whose metadata converter reads "hundred" as 100 and records every question.
    static COSMMarkupDependencyProperty* s_pConvertedProperty;
    // COSMMarkupBrush.
    static COSMMarkupDependencyProperty* s_pFillProperty;
    // COSMMarkupType.
    static COSMMarkupDependencyProperty* s_pKindProperty;
    // COSMMarkupInt, given a second owner by the tests.
    static COSMMarkupDependencyProperty* s_pSharedProperty;
    // COSMMarkupInt, attached: set on objects of other classes.
    static COSMMarkupDependencyProperty* s_pDockProperty;
};

// A node of another class, with children too.
class COtherNode : public CTreeNode
{
    DECLARE_MARKUP_TYPE(COtherNode)
};

// Two classes registered under the tag "OsmTestTwin", in this order.
class CTwinFirst : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(CTwinFirst)
};
class CTwinSecond : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(CTwinSecond)
};

// A collection of COSMMarkupInt items that records where each arrives.
class CRecordingCollection : public COSMMarkupCollection
{
public:
    CRecordingCollection();
    void OnItemAdded(COSMMarkupObject* item, int index) override;

    std::vector<int> addedAt;
};

// Counts its final releases and stays alive; Destroy frees it.
class CFinalReleaseCounter : public COSMMarkupObject
{
public:
    int finalReleases = 0;
    void Destroy() { delete this; }

protected:
    void OnFinalRelease() override { ++finalReleases; }
};

// What the change callback saw: the object, and the old and new values as numbers (kNoValue for null).
struct RecordedChange
{
    static const int kNoValue = INT_MIN;
    COSMMarkupObject* object;
    COSMMarkupDependencyProperty* property;
    int oldValue;
    int newValue;
};
extern std::vector<RecordedChange> g_recordedChanges;

// How often the converter of CTestNode::s_pConvertedProperty was asked.
extern int g_converterQuestions;

}  // namespace markup_test
