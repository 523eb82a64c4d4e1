// The single-number markup values: COSMMarkupInt (32-bit), COSMMarkupDouble, COSMMarkupEnum (a 32-bit value whose
// meaning belongs to its property; named values come from the converters of MarkupConverters.h) and COSMMarkupBool.
// Enums 0 to 7 and the two booleans are shared instances, handed out with a reference added:
//
//   COSMMarkupObject* visible = COSMMarkupEnum::CreateValue(0);
//   COSMMarkupObject* yes = COSMMarkupBool::CreateTrueValue();
//
// Each compares equal to an object of exactly its class with the same value.
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupInt : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupInt)

public:
    explicit COSMMarkupInt(int value = 0) : m_nValue(value) {}

    BOOL IsEqual(const COSMMarkupObject* other) const override;
    // Text read as one decimal integer, saturated at the 32-bit limits; text that is no number gives 0.
    COSMMarkupObject* ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value) override;

    int GetValue() const { return m_nValue; }

private:
    int m_nValue;
};

class COSMMarkupDouble : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupDouble)

public:
    explicit COSMMarkupDouble(double value = 0.0) : m_dValue(value) {}

    // Exact floating equality.
    BOOL IsEqual(const COSMMarkupObject* other) const override;
    // The whole text as one number of ParseMarkupNumberList; null when it does not read.
    COSMMarkupObject* ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value) override;

    double GetValue() const { return m_dValue; }

private:
    double m_dValue;
};

class COSMMarkupEnum : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupEnum)

public:
    explicit COSMMarkupEnum(int value = 0) : m_nValue(value) {}

    BOOL IsEqual(const COSMMarkupObject* other) const override;

    int GetValue() const { return m_nValue; }

    // 0 to 7 from the shared cache, any other value a new object; one reference for the caller.
    static COSMMarkupObject* CreateValue(int value);

private:
    int m_nValue;
};

class COSMMarkupBool : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupBool)

public:
    explicit COSMMarkupBool(BOOL value = FALSE) : m_bValue(value ? TRUE : FALSE) {}

    BOOL IsEqual(const COSMMarkupObject* other) const override;
    // "True" or "False" in any case give the shared instances; other text null.
    COSMMarkupObject* ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value) override;

    BOOL GetValue() const { return m_bValue; }

    static COSMMarkupObject* CreateTrueValue();
    static COSMMarkupObject* CreateFalseValue();

private:
    BOOL m_bValue;
};
