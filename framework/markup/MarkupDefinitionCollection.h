// The definition lists of a grid: COSMMarkupDefinitionCollection takes any definition, and the grid's two
// properties take COSMMarkupColumnDefinitionCollection (column definitions only) and
// COSMMarkupRowDefinitionCollection (row definitions only). None has a tag: markup fills them through the grid's
// property elements.
//
//   <Grid.RowDefinitions><RowDefinition Height="Auto"/><RowDefinition/></Grid.RowDefinitions>
//
// Adding a definition does nothing at once: the grid reads its definitions when it next measures.
#pragma once

#include "framework/markup/MarkupCollection.h"

class COSMMarkupDefinitionBase;

class COSMMarkupDefinitionCollection : public COSMMarkupCollection
{
    DECLARE_MARKUP_TYPE(COSMMarkupDefinitionCollection)

public:
    COSMMarkupDefinitionCollection();

protected:
    ~COSMMarkupDefinitionCollection() override;

public:
    // The item at index as a definition, or null (outside the collection).
    COSMMarkupDefinitionBase* GetDefinition(int index) const;
};

class COSMMarkupColumnDefinitionCollection : public COSMMarkupDefinitionCollection
{
    DECLARE_MARKUP_TYPE(COSMMarkupColumnDefinitionCollection)

public:
    COSMMarkupColumnDefinitionCollection();

protected:
    ~COSMMarkupColumnDefinitionCollection() override;
};

class COSMMarkupRowDefinitionCollection : public COSMMarkupDefinitionCollection
{
    DECLARE_MARKUP_TYPE(COSMMarkupRowDefinitionCollection)

public:
    COSMMarkupRowDefinitionCollection();

protected:
    ~COSMMarkupRowDefinitionCollection() override;
};
