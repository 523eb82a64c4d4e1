#include "MarkupDocumentGenerator.h"

#include "MarkupSourceWords.h"

#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupTypeRegistry.h"

#include <algorithm>
#include <set>

namespace markup_test {

namespace {

std::string Narrow(LPCWSTR text)
{
    std::string out;
    for (; text && *text; ++text)
        out += static_cast<char>(*text < 128 ? *text : '?');
    return out;
}

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// The class names of the type and its bases, the type's own first.
std::set<std::string> ClassChain(const COSMMarkupType* type)
{
    std::set<std::string> chain;
    for (; type; type = type->GetBaseType())
        chain.insert(Narrow(type->GetMarkupClassName()));
    return chain;
}

// The names an enum property's converter takes among the words.
std::vector<std::string> ConverterNames(COSMMarkupPropertyMetadata::Converter convert)
{
    std::vector<std::string> names;
    for (const char* word : kMarkupSourceWords)
    {
        COSMMarkupObject* text = COSMMarkupString::CreateValue(Wide(word).c_str(), -1);
        if (COSMMarkupObject* value = convert(nullptr, text))
        {
            names.push_back(word);
            value->Release();
        }
        text->Release();
    }
    return names;
}

// How values of the type are made; false for types no attribute text gives (styles, collections, types).
bool KindOf(const COSMMarkupDependencyProperty* property, MarkupDocumentGenerator::Kind& kind)
{
    using Kind = MarkupDocumentGenerator::Kind;
    const std::set<std::string> chain = ClassChain(property->GetValueType());
    const COSMMarkupPropertyMetadata* metadata = property->GetMetadata();
    const bool converts = metadata && metadata->GetConverter();
    const std::string name = Narrow(property->GetValueType()->GetMarkupClassName());
    if (name == "COSMMarkupInt")
        kind = converts ? Kind::Length : Kind::Int;
    else if (name == "COSMMarkupDouble")
        kind = Kind::Double;
    else if (name == "COSMMarkupBool")
        kind = Kind::Bool;
    else if (name == "COSMMarkupEnum")
        kind = Kind::Enum;
    else if (name == "COSMMarkupString" || name == "COSMMarkupObject")
        kind = Kind::Text;
    else if (chain.count("COSMMarkupBrush"))
        kind = Kind::Brush;
    else if (name == "COSMMarkupColor")
        kind = Kind::Color;
    else if (name == "COSMMarkupThickness")
        kind = Kind::Thickness;
    else if (name == "COSMMarkupPoint")
        kind = Kind::Point;
    else if (name == "COSMMarkupPointCollection")
        kind = Kind::Points;
    else if (name == "COSMMarkupPathGeometry")
        kind = Kind::Path;
    else if (name == "COSMMarkupGridLength")
        kind = Kind::GridLength;
    else
        return false;
    return true;
}

// The extreme numbers a strict document uses: finite in single precision, which figures and doubles need.
const std::vector<std::string>& FiniteNumbers()
{
    static const std::vector<std::string> kFinite = [] {
        std::vector<std::string> numbers;
        for (const std::string& number : fuzz::InterestingNumbers())
        {
            if (number.find("308") == std::string::npos && number.find("Infinity") == std::string::npos &&
                number != "NaN")
                numbers.push_back(number);
        }
        return numbers;
    }();
    return kFinite;
}

// The extreme numbers that are integers: what coordinates of strict documents use.
const std::vector<std::string>& IntegerNumbers()
{
    static const std::vector<std::string> kIntegers = [] {
        std::vector<std::string> numbers;
        for (const std::string& number : FiniteNumbers())
        {
            if (number.find_first_not_of("-0123456789") == std::string::npos)
                numbers.push_back(number);
        }
        return numbers;
    }();
    return kIntegers;
}

// Room left for an element's tags and its closing tags when an element is added.
constexpr size_t kElementRoom = 4096;

}  // namespace

// What one document leans to: how many properties each element sets, where coordinates lie, how much room is left.
struct MarkupDocumentGenerator::Style
{
    bool strict = true;   // only values the builder takes: one value it refuses fails the whole document
    int percent = 30;     // of an element's properties set
    int ownPercent = 50;  // of the properties of its own class (and the one it derives from)
    int scale = 0;        // coordinates: 0 inside the area, 1 around it, 2 far outside, 3 extreme
    size_t budget = 0;    // characters left
    size_t heavy = 4;     // one value in this many of a long kind (text, points, figures) is long
    int elements = 0;     // elements left
};

MarkupDocumentGenerator::MarkupDocumentGenerator()
{
    for (const char* word : kMarkupSourceWords)
    {
        UINT color = 0;
        if (ParseMarkupColorName(Wide(word).c_str(), &color))
            m_colorNames.push_back(word);
    }
    // Attached properties are found through the types that register them, whatever they are set on.
    std::set<std::string> attachedSeen;
    for (COSMMarkupType* type = GetMarkupTypeRegistry()->GetFirstType(); type; type = type->GetNextType())
    {
        if (!type->GetTag() || !*type->GetTag())
            continue;
        const std::string tag = Narrow(type->GetTag());
        const std::set<std::string> chain = ClassChain(type);
        if (chain.count("COSMMarkupBrush"))
            m_brushTags.push_back(tag);
        const bool element = chain.count("COSMMarkupUIElement") != 0;
        const bool inlineElement = chain.count("COSMMarkupInline") != 0;
        ElementType described;
        described.tag = tag;
        for (const char* word : kMarkupSourceWords)
        {
            COSMMarkupDependencyProperty* property =
                COSMMarkupDependencyProperty::FindProperty(type, Wide(word).c_str());
            Kind kind = Kind::Text;
            if (!property || property->IsEvent() || !KindOf(property, kind) || Narrow(property->GetName()) != word)
                continue;
            Property made;
            made.kind = kind;
            made.own = property->GetOwnerType() == type || property->GetOwnerType() == type->GetBaseType();
            if (kind == Kind::Enum && property->GetMetadata() && property->GetMetadata()->GetConverter())
                made.names = ConverterNames(property->GetMetadata()->GetConverter());
            // An attached property is written with its owner's tag on other elements, and plainly on the owner and
            // on the types that took it over (a text block's font size).
            if (property->IsAttached() && property->GetOwnerType() == type && type->GetTag() && *type->GetTag())
            {
                Property attached = made;
                attached.name = tag + "." + word;
                if (attachedSeen.insert(attached.name).second)
                    m_attached.push_back(attached);
            }
            made.name = word;
            // Names are written once per element; a key or a name twice in a tree is the builder's error.
            if (made.name != "Name" && made.name != "Key")
                described.properties.push_back(made);
        }
        if (inlineElement)
        {
            described.content = chain.count("COSMMarkupSpan")                ? Content::Inlines
                                : chain.count("COSMMarkupInlineUIContainer") ? Content::Child
                                                                             : Content::None;
            m_inlines.push_back(described);
            continue;
        }
        if (!element)
            continue;
        if (chain.count("COSMMarkupPanel"))
            described.content = Content::Children;
        else if (chain.count("COSMMarkupTextBlock"))
            described.content = Content::Inlines;
        else if (chain.count("COSMMarkupBorder") || chain.count("COSMMarkupContentControl") ||
                 chain.count("COSMMarkupScrollViewer") || chain.count("COSMMarkupPage"))
            described.content = Content::Child;
        described.contentText = chain.count("COSMMarkupContentControl") != 0;
        m_elements.push_back(described);
    }
    // In the registry's order, which the process's start-up decides: sorted, so a seed means one series everywhere.
    auto byTag = [](const ElementType& a, const ElementType& b) { return a.tag < b.tag; };
    std::sort(m_elements.begin(), m_elements.end(), byTag);
    std::sort(m_inlines.begin(), m_inlines.end(), byTag);
    std::sort(m_attached.begin(), m_attached.end(),
              [](const Property& a, const Property& b) { return a.name < b.name; });
    std::sort(m_brushTags.begin(), m_brushTags.end());
    for (const ElementType& type : m_elements)
        (type.content == Content::None || type.content == Content::Inlines ? m_leaves : m_containers).push_back(&type);
}

const MarkupDocumentGenerator::ElementType* MarkupDocumentGenerator::Pick(
    fuzz::Random& random, const std::vector<const ElementType*>& from) const
{
    return from.empty() ? nullptr : from[random.Below(from.size())];
}

std::string MarkupDocumentGenerator::Make(fuzz::Random& random) const
{
    Style style;
    // Mostly few properties beside those of the element's own class: a fault needs two or three values together,
    // and a dozen others (a hidden visibility, a maximum height) would each hide it.
    static const int kPercents[] = {0, 3, 6, 10, 25, 50, 100};
    static const int kOwnPercents[] = {30, 50, 70, 100};
    style.percent = random.Pick(kPercents);
    style.ownPercent = random.Pick(kOwnPercents);
    style.strict = !random.OneIn(8);
    style.scale = static_cast<int>(random.Below(4));
    style.budget = kMaxLength;
    std::string out;
    switch (random.Below(6))
    {
    case 0:
    case 1:
    case 2:
        // One element alone, given the whole area: where a figure's own size and pen decide everything, and where
        // long values (text, point lists, thousands of figures) go most.
        style.elements = 1;
        style.heavy = 2;
        if (const ElementType* leaf = Pick(random, m_leaves))
            Element(random, *leaf, 0, style, out);
        break;
    case 3:
    {
        // A chain of single-child elements nested up to past the builder's limit, a leaf at its end.
        std::vector<const ElementType*> singles;
        for (const ElementType* type : m_containers)
        {
            if (type->content == Content::Child)
                singles.push_back(type);
        }
        const size_t depth = random.Count(300);
        std::string tail;
        for (size_t i = 0; i < depth && !singles.empty(); ++i)
        {
            const ElementType* type = Pick(random, singles);
            out += "<" + type->tag;
            Attributes(random, *type, style, out);
            out += ">";
            tail = "</" + type->tag + ">" + tail;
        }
        style.elements = 1;
        if (const ElementType* leaf = Pick(random, m_leaves))
            Element(random, *leaf, 0, style, out);
        out += tail;
        break;
    }
    default:
        // A tree, from a handful of elements to thousands, most of its values short: the long ones go to lone
        // elements.
        style.elements = static_cast<int>(random.Count(random.OneIn(4) ? 3000 : 60));
        style.heavy = 40;
        style.budget = random.OneIn(8) ? kMaxLength : kMaxLength / 16;
        if (const ElementType* root = Pick(random, random.OneIn(4) ? m_leaves : m_containers))
            Element(random, *root, 0, style, out);
        break;
    }
    // The room kept for closing tags and grid definitions is an estimate: past the limit the end is cut off.
    if (out.size() > kMaxLength)
        out.resize(kMaxLength);
    return out;
}

void MarkupDocumentGenerator::Element(fuzz::Random& random, const ElementType& type, int depth, Style& style,
                                      std::string& out) const
{
    --style.elements;
    style.budget -= std::min(style.budget, 2 * type.tag.size() + 5);
    out += "<" + type.tag;
    Attributes(random, type, style, out);
    std::string inner;
    // A brush or two as property elements: gradients with their stops.
    for (const Property& property : type.properties)
    {
        if (property.kind == Kind::Brush && random.OneIn(12))
            inner += BrushElement(random, type.tag, property);
    }
    if (type.tag == "Grid" && random.OneIn(2))
    {
        for (const char* axis : {"Column", "Row"})
        {
            inner += "<Grid." + std::string(axis) + "Definitions>";
            for (size_t n = random.Count(random.OneIn(8) ? 500 : 4); n > 0; --n)
            {
                static const char* const kLengths[] = {"*", "2*", "Auto", "40", "0", "2147483647", "-5", "100000*"};
                inner += "<" + std::string(axis) + "Definition " + (axis[0] == 'C' ? "Width" : "Height") + "=\"" +
                         (random.OneIn(3) ? Number(random, true, style) : random.Pick(kLengths)) + "\"/>";
            }
            inner += "</Grid." + std::string(axis) + "Definitions>";
        }
    }
    std::string children;
    Children(random, type, depth, style, children);
    inner += children;
    if (inner.empty())
    {
        out += "/>";
        return;
    }
    out += ">" + inner + "</" + type.tag + ">";
}

void MarkupDocumentGenerator::Attributes(fuzz::Random& random, const ElementType& type, Style& style,
                                         std::string& out) const
{
    auto add = [&](const Property& property) {
        const std::string attribute = " " + property.name + "=\"" + Value(random, property, style) + "\"";
        style.budget -= std::min(style.budget, attribute.size());
        out += attribute;
    };
    for (const Property& property : type.properties)
    {
        if (static_cast<int>(random.Below(100)) < (property.own ? style.ownPercent : style.percent) &&
            style.budget > kElementRoom)
            add(property);
    }
    for (const Property& property : m_attached)
    {
        if (static_cast<int>(random.Below(400)) < style.percent && style.budget > kElementRoom)
            add(property);
    }
}

void MarkupDocumentGenerator::Children(fuzz::Random& random, const ElementType& type, int depth, Style& style,
                                       std::string& out) const
{
    if (depth > 40 || style.budget <= kElementRoom)
        return;
    switch (type.content)
    {
    case Content::None:
        return;
    case Content::Child:
        if (type.contentText && random.OneIn(2))
        {
            out += TextRun(random, style);
            return;
        }
        if (style.elements > 0)
        {
            if (const ElementType* child = Pick(random, random.OneIn(2) ? m_leaves : m_containers))
                Element(random, *child, depth + 1, style, out);
        }
        return;
    case Content::Children:
    {
        size_t count = random.Count(static_cast<size_t>(std::max(1, style.elements)));
        for (; count > 0 && style.elements > 0 && style.budget > kElementRoom; --count)
        {
            if (const ElementType* child = Pick(random, random.OneIn(3) ? m_containers : m_leaves))
                Element(random, *child, depth + 1, style, out);
        }
        return;
    }
    case Content::Inlines:
        for (size_t count = random.Count(12); count > 0 && style.budget > kElementRoom; --count)
        {
            if (random.OneIn(2) || m_inlines.empty())
            {
                out += TextRun(random, style);
                continue;
            }
            const ElementType& inlineType = m_inlines[random.Below(m_inlines.size())];
            out += "<" + inlineType.tag;
            Attributes(random, inlineType, style, out);
            out += ">";
            if (inlineType.content == Content::Inlines && depth < 20)
                Children(random, inlineType, depth + 1, style, out);
            else if (inlineType.content == Content::Child && style.elements > 0 && !m_leaves.empty())
                Element(random, *Pick(random, m_leaves), depth + 1, style, out);
            out += "</" + inlineType.tag + ">";
        }
        return;
    }
}

std::string MarkupDocumentGenerator::Extreme(fuzz::Random& random, const Style& style) const
{
    return random.Pick(style.strict ? FiniteNumbers() : fuzz::InterestingNumbers());
}

std::string MarkupDocumentGenerator::Number(fuzz::Random& random, bool integer, const Style& style) const
{
    switch (random.Below(10))
    {
    case 0:
    case 1:
    case 2:
    case 3:
        return std::to_string(random.Between(0, 400));
    case 4:
        return std::to_string(-random.Between(1, 400));
    case 5:
    case 6:
        return Extreme(random, style);
    case 7:
    {
        // Large, from a thousand to a billion, as many of each order of magnitude.
        long long value = random.Between(1000, 9999);
        for (size_t orders = random.Below(6); orders > 0; --orders)
            value *= 10;
        return std::to_string(value * (random.OneIn(4) ? -1 : 1));
    }
    case 8:
        return integer ? std::to_string(random.Between(0, 40))
                       : std::to_string(random.Between(0, 400)) + "." + std::to_string(random.Between(0, 99));
    default:
        return std::to_string(random.Between(0, 20));
    }
}

std::string MarkupDocumentGenerator::Coordinate(fuzz::Random& random, const Style& style) const
{
    switch (random.OneIn(8) ? 3 : style.scale)
    {
    case 0:
        return std::to_string(random.Between(0, 320));
    case 1:
        return std::to_string(random.Between(-2000, 2000));
    case 2:
        return std::to_string(random.Between(-100000, 100000));
    default:
        if (random.OneIn(2))
            return std::to_string(random.Between(-30000, 90000));
        // Point lists take integers only.
        return style.strict ? random.Pick(IntegerNumbers()) : Extreme(random, style);
    }
}

std::string MarkupDocumentGenerator::TextRun(fuzz::Random& random, Style& style) const
{
    std::string text;
    // Words as people write them, or one long run of letters: a word is laid out and drawn as one piece.
    const size_t length = random.OneIn(2 * style.heavy) ? random.Count(200000) : random.Count(120);
    const bool oneWord = random.OneIn(2);
    for (size_t i = 0; i < length && text.size() < style.budget / 2; ++i)
    {
        if (!oneWord && random.OneIn(7))
            text += ' ';
        else if (random.OneIn(40))
        {
            static const char* const kPieces[] = {"&amp;", "&#x20AC;", "&#65;", "&lt;", "\xC3\xA9", "\t", "\r\n"};
            text += random.Pick(kPieces);
        }
        else
            text += static_cast<char>(random.OneIn(3) ? 'A' + random.Below(26) : 'a' + random.Below(26));
    }
    style.budget -= std::min(style.budget, text.size());
    return text;
}

std::string MarkupDocumentGenerator::PointList(fuzz::Random& random, Style& style) const
{
    std::string out;
    const size_t count = random.Count(random.OneIn(style.heavy) ? 70000 : 12);
    for (size_t i = 0; i < count && out.size() < style.budget / 2; ++i)
        out += (i ? " " : "") + Coordinate(random, style) + "," + Coordinate(random, style);
    style.budget -= std::min(style.budget, out.size());
    return out;
}

std::string MarkupDocumentGenerator::PathData(fuzz::Random& random, Style& style) const
{
    std::string out;
    if (random.OneIn(6))
        out += random.OneIn(2) ? "F0 " : "F1 ";
    const size_t figures = random.Count(random.OneIn(style.heavy) ? 10000 : 6);
    const size_t segments = random.Count(random.OneIn(style.heavy) ? 40000 : 8);
    // Figures alike, as a long path usually is, or each made afresh.
    const bool alike = random.OneIn(2);
    std::string figure;
    for (size_t f = 0; f < figures && out.size() < style.budget / 2; ++f)
    {
        if (!alike || figure.empty())
        {
            figure = "M" + Coordinate(random, style) + "," + Coordinate(random, style);
            for (size_t s = 0; s < segments && figure.size() + out.size() < style.budget / 2; ++s)
            {
                switch (random.Below(8))
                {
                case 0:
                case 1:
                    figure += " L" + Coordinate(random, style) + "," + Coordinate(random, style);
                    break;
                case 2:
                    figure += " H" + Coordinate(random, style);
                    break;
                case 3:
                    figure += " V" + Coordinate(random, style);
                    break;
                case 4:
                case 5:
                    figure += " C" + Coordinate(random, style) + "," + Coordinate(random, style) + " " +
                              Coordinate(random, style) + "," + Coordinate(random, style) + " " +
                              Coordinate(random, style) + "," + Coordinate(random, style);
                    break;
                case 6:
                    figure += " S" + Coordinate(random, style) + "," + Coordinate(random, style) + " " +
                              Coordinate(random, style) + "," + Coordinate(random, style);
                    break;
                default:
                    figure += random.OneIn(2)
                                  ? " l" + Coordinate(random, style) + "," + Coordinate(random, style)
                                  : " c1,1 2,2 " + Coordinate(random, style) + "," + Coordinate(random, style);
                    break;
                }
            }
            if (!random.OneIn(3))
                figure += " Z";
            figure += " ";
        }
        out += figure;
    }
    style.budget -= std::min(style.budget, out.size());
    return out;
}

std::string MarkupDocumentGenerator::BrushElement(fuzz::Random& random, const std::string& owner,
                                                  const Property& property) const
{
    Style colours;
    std::string out = "<" + owner + "." + property.name + ">";
    if (random.OneIn(3) || m_brushTags.empty())
    {
        out += "<SolidColorBrush Color=\"" + Value(random, Property{"Color", Kind::Color, {}}, colours) + "\"/>";
    }
    else
    {
        out += "<LinearGradientBrush StartPoint=\"" + Number(random, false, colours) + "," +
               Number(random, false, colours) + "\" EndPoint=\"" + Number(random, false, colours) + "," +
               Number(random, false, colours) + "\"><LinearGradientBrush.GradientStops>";
        for (size_t n = random.Count(random.OneIn(8) ? 2000 : 4); n > 0; --n)
            out += "<GradientStop Color=\"" + Value(random, Property{"Color", Kind::Color, {}}, colours) +
                   "\" Offset=\"" + Number(random, false, colours) + "\"/>";
        out += "</LinearGradientBrush.GradientStops></LinearGradientBrush>";
    }
    return out + "</" + owner + "." + property.name + ">";
}

std::string MarkupDocumentGenerator::Value(fuzz::Random& random, const Property& property, Style& style) const
{
    auto hex = [&](int digits) {
        std::string text = "#";
        for (int i = 0; i < digits; ++i)
            text += "0123456789ABCDEF"[random.Below(16)];
        return text;
    };
    switch (property.kind)
    {
    case Kind::Int:
        return Number(random, true, style);
    case Kind::Length:
    {
        static const char* const kUnits[] = {"pt", "in", "cm"};
        if (random.OneIn(8))
            return "Auto";
        return Number(random, true, style) + (random.OneIn(8) ? random.Pick(kUnits) : "");
    }
    case Kind::Double:
        return Number(random, false, style);
    case Kind::Bool:
        return !style.strict && random.OneIn(8) ? "maybe" : random.OneIn(2) ? "True" : "False";
    case Kind::Enum:
        if (property.names.empty() || (!style.strict && random.OneIn(10)))
            return random.OneIn(2) ? random.Pick(kMarkupSourceWords) : Number(random, true, style);
        return random.Pick(property.names);
    case Kind::Text:
        return TextRun(random, style);
    case Kind::Brush:
    case Kind::Color:
        switch (random.Below(5))
        {
        case 0:
            return hex(6);
        case 1:
            return hex(8);
        case 2:
            return hex(style.strict ? 8 : static_cast<int>(random.Below(10)));
        default:
            return m_colorNames.empty() ? hex(8) : random.Pick(m_colorNames);
        }
    case Kind::Thickness:
    {
        // One length for every side, or four.
        std::string text = Number(random, true, style);
        for (size_t n = style.strict ? (random.OneIn(2) ? 0 : 3) : random.Below(4); n > 0; --n)
            text += "," + Number(random, true, style);
        return text;
    }
    case Kind::Point:
        return Number(random, false, style) + "," + Number(random, false, style);
    case Kind::Points:
        return PointList(random, style);
    case Kind::Path:
        return PathData(random, style);
    case Kind::GridLength:
    {
        static const char* const kLengths[] = {"*", "2*", "Auto", "0.5*"};
        return random.OneIn(2) ? random.Pick(kLengths) : Number(random, false, style);
    }
    }
    return "";
}

}  // namespace markup_test
