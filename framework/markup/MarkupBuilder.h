// Stand-in: only the value conversion the markup objects need; the reader-and-builder work grows this class.
//
// COSMMarkupBuilder turns markup into a tree of markup objects. What exists so far is the conversion of an attribute
// value to a property's type, which the objects' SetPropertyObject calls:
//
//   COSMMarkupBuilder builder(&context);
//   COSMMarkupObject* brush = builder.ConvertValue(backgroundProperty, text);   // or throws
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupContext;

class COSMMarkupBuilder
{
public:
    explicit COSMMarkupBuilder(COSMMarkupContext* context) : m_pContext(context) {}
    COSMMarkupBuilder(const COSMMarkupBuilder&) = delete;
    COSMMarkupBuilder& operator=(const COSMMarkupBuilder&) = delete;

    COSMMarkupContext* GetContext() const { return m_pContext; }

    // A new object of the property's value type made from value (borrowed): the metadata's converter first, then
    // ConvertFrom on a fresh default instance of the value type. Throws COSMMarkupBuilderException "Cannot convert
    // string in attribute '<property>' to object of type '<value type>'" when neither gives one.
    COSMMarkupObject* ConvertValue(COSMMarkupDependencyProperty* property, COSMMarkupObject* value);

    // Throws a COSMMarkupBuilderException with message.
    [[noreturn]] static void ThrowBuilderException(LPCSTR message);

private:
    COSMMarkupContext* m_pContext;
};
