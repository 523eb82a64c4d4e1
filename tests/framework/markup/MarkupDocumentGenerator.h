// Markup documents made from what the engine registers, for the bad-input harness: the elements are the registered
// tags, each with the properties its type answers to (found among the words the engine's sources name, so a new
// property or tag is generated the day it is registered), and each value is made for the property's value type:
// numbers up to the 32-bit limits and past them, the names an enum property's converter takes, colours and brushes,
// thicknesses, point lists of up to 70,000 points and path data of thousands of figures and tens of thousands of
// curves, inside the drawing area or far outside it. Documents are single elements, trees wide and deep, or chains
// nested past the builder's depth limit.
//
//   const MarkupDocumentGenerator generator;       // after the markup types are initialised
//   fuzz::Random random(seed);
//   const std::string text = generator.Make(random);
#pragma once

#include "FuzzMutator.h"

#include <string>
#include <vector>

namespace markup_test {

class MarkupDocumentGenerator
{
public:
    // What a property's values are made as.
    enum class Kind
    {
        Int,
        Length,  // an integer the length converter reads: "Auto", units
        Double,
        Bool,
        Enum,
        Text,
        Brush,
        Color,
        Thickness,
        Point,
        Points,
        Path,
        GridLength,
    };

    struct Property
    {
        std::string name;  // as written: "Fill", or "Canvas.Left" for an attached one
        Kind kind = Kind::Text;
        std::vector<std::string> names;  // the names an enum property's converter takes
        // Registered by the element's own class or the one it derives from (a shape's pen, a path's data), not by
        // the classes every element shares (layout, input): set more often, since they decide what it draws.
        bool own = false;
    };

    // What an element holds between its tags.
    enum class Content
    {
        None,
        Children,  // panels
        Child,     // borders, content controls, viewers, pages, inline containers
        Inlines,   // text blocks and spans: text and inline elements
    };

    struct ElementType
    {
        std::string tag;
        Content content = Content::None;
        bool contentText = false;  // content controls take text as their content too
        std::vector<Property> properties;
    };

    // Reads the type registry (InitializeMarkupTypesOnce must have run).
    MarkupDocumentGenerator();

    std::string Make(fuzz::Random& random) const;

    const std::vector<ElementType>& Elements() const { return m_elements; }
    const std::vector<ElementType>& Inlines() const { return m_inlines; }
    const std::vector<Property>& Attached() const { return m_attached; }

    // No document grows past this (the harness's largest input).
    static constexpr size_t kMaxLength = fuzz::Mutator::kMaxSize - 4096;

private:
    struct Style;

    void Element(fuzz::Random& random, const ElementType& type, int depth, Style& style, std::string& out) const;
    void Attributes(fuzz::Random& random, const ElementType& type, Style& style, std::string& out) const;
    void Children(fuzz::Random& random, const ElementType& type, int depth, Style& style, std::string& out) const;
    std::string Value(fuzz::Random& random, const Property& property, Style& style) const;
    std::string Number(fuzz::Random& random, bool integer, const Style& style) const;
    std::string Extreme(fuzz::Random& random, const Style& style) const;
    std::string Coordinate(fuzz::Random& random, const Style& style) const;
    std::string TextRun(fuzz::Random& random, Style& style) const;
    std::string PointList(fuzz::Random& random, Style& style) const;
    std::string PathData(fuzz::Random& random, Style& style) const;
    std::string BrushElement(fuzz::Random& random, const std::string& owner, const Property& property) const;
    const ElementType* Pick(fuzz::Random& random, const std::vector<const ElementType*>& from) const;

    std::vector<ElementType> m_elements;
    std::vector<ElementType> m_inlines;
    std::vector<Property> m_attached;
    std::vector<const ElementType*> m_containers;
    std::vector<const ElementType*> m_leaves;
    std::vector<std::string> m_colorNames;
    std::vector<std::string> m_brushTags;
};

}  // namespace markup_test
