// Types the builder tests parse under private tags, so the builder is tested before text, panels and controls
// exist: elements that record the content they are given (one keeps a lone blank, one does not), a plain box, an
// attached integer property, and an element whose content operation throws std::bad_alloc.
//
//   <OsmRecorder OsmRecorder.Number="3">a <OsmBox/> b</OsmRecorder>
#pragma once

#include "framework/markup/MarkupFrameworkElement.h"

#include <string>
#include <vector>

namespace markup_test {

// "OsmRecorder": keeps every content object it is given, in order (one reference each), and takes a lone blank.
class CRecorder : public COSMMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE(CRecorder)

public:
    CRecorder() = default;

protected:
    ~CRecorder() override;

public:
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    BOOL HasContentObject() const override;
    BOOL AllowWhiteSpaceContent() const override;

    // The content as lines: text in quotes ("a b" as "\"a b\""), an element as its tag in brackets ("<OsmBox>").
    std::vector<std::string> DescribeContent() const;
    const std::vector<COSMMarkupObject*>& GetContent() const { return m_content; }

    // "Number": a COSMMarkupInt, attached (set on elements of any class as OsmRecorder.Number).
    static COSMMarkupDependencyProperty* s_pNumberProperty;
    static void RegisterMarkupProperties();

private:
    std::vector<COSMMarkupObject*> m_content;
};

// "OsmStrictRecorder": the same, but a lone blank between two elements is not given to it.
class CStrictRecorder : public CRecorder
{
    DECLARE_MARKUP_TYPE(CStrictRecorder)

public:
    BOOL AllowWhiteSpaceContent() const override;
};

// "OsmBox": an element with no content.
class CBox : public COSMMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE(CBox)
};

// "OsmThrowing": its content operation runs out of memory.
class CThrowing : public COSMMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE(CThrowing)

public:
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
};

}  // namespace markup_test
