#include "framework/markup/MarkupBuilder.h"

#include "classlib/Exception.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupGridLength.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupObjectProperty.h"
#include "framework/markup/MarkupResourceLookup.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupSystemColors.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupTypeRegistry.h"
#include "framework/markup/MarkupUIElement.h"
#include "framework/markup/MarkupXmlReader.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <new>

namespace {

// The text after prefix when text begins with it, else null.
LPCWSTR AfterPrefix(LPCWSTR text, LPCWSTR prefix)
{
    const size_t length = wcslen(prefix);
    return wcsncmp(text, prefix, length) == 0 ? text + length : nullptr;
}

// Counts one level of extension nesting while it lives.
class CDepthGuard
{
public:
    explicit CDepthGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~CDepthGuard() { --m_depth; }
    CDepthGuard(const CDepthGuard&) = delete;
    CDepthGuard& operator=(const CDepthGuard&) = delete;

private:
    int& m_depth;
};

}  // namespace

COSMMarkupBuilder::COSMMarkupBuilder(COSMMarkupContext* context) : m_pContext(context) {}

COSMMarkupBuilder::~COSMMarkupBuilder()
{
    ReleaseOpenElements();
}

// ---- Parsing ----------------------------------------------------------------------------------------------------

COSMMarkupUIElement* COSMMarkupBuilder::Parse(COSMMarkupXmlReader* reader)
{
    m_strLastError.Empty();
    ReleaseOpenElements();
    if (!reader || !reader->MoveToContent())
    {
        m_strLastError = "Data at the root level is invalid";
        return nullptr;
    }
    RefPtr<COSMMarkupObject> root;
    CString failure;
    bool failed = false;
    // Everything is caught here: a parse runs inside the host's window procedure, which nothing may leave by an
    // exception. Whatever was made so far is released on the way out.
    try
    {
        m_bParsing = true;
        root.Attach(ReadTree(reader));
    }
    catch (CException* e)
    {
        failure = e->GetErrorMessage();
        e->Delete();
        failed = true;
    }
    catch (...)
    {
        failed = true;
    }
    m_bParsing = false;
    m_converters.clear();
    m_sharedConversions.clear();
    m_nSharedConversions = 0;
    ReleaseOpenElements();
    if (failed)
    {
        if (failure.IsEmpty())
            failure = "Unexpected error";
        m_strLastError.Format("%s. Line %i, position %i", static_cast<LPCSTR>(failure), reader->GetLine() + 1,
                              reader->GetColumn() + 1);
        return nullptr;
    }
    COSMMarkupUIElement* element = MarkupDynamicCast<COSMMarkupUIElement>(root.Get());
    if (!element)
    {
        m_strLastError = "Root element have to be 'COSMMarkupUIElement' type";
        return nullptr;
    }
    ApplyMarkupStylesOnRoot(element);
    root.Detach();
    return element;
}

COSMMarkupObject* COSMMarkupBuilder::ReadTree(COSMMarkupXmlReader* reader)
{
    RefPtr<COSMMarkupObject> root;
    for (;;)
    {
        const int token = reader->Read();
        switch (token)
        {
        case COSMMarkupXmlReader::TokenError:
            ThrowBuilderException(FormatMarkupMessage1("%ls", reader->GetValue()));
        case COSMMarkupXmlReader::TokenEnd:
            if (!m_openElements.empty())
            {
                ThrowBuilderException(
                    FormatMarkupMessage1("Unexpected end of file has occurred. The following elements are not "
                                         "closed: '%ls'",
                                         m_openElements.back()->GetTagName()));
            }
            if (!root)
                ThrowBuilderException("Root element is missing");
            return root.Detach();
        case COSMMarkupXmlReader::TokenStartElement:
            OnStartElement(reader->GetName(), root);
            break;
        case COSMMarkupXmlReader::TokenAttribute:
            OnAttribute(reader->GetAttributeName(), reader->GetValue());
            break;
        case COSMMarkupXmlReader::TokenText:
            OnText(reader->GetValue());
            break;
        case COSMMarkupXmlReader::TokenWhiteSpace:
            m_bWhiteSpacePending = TRUE;
            break;
        case COSMMarkupXmlReader::TokenEndElement:
            OnEndElement(reader->GetName(), root);
            break;
        case COSMMarkupXmlReader::TokenInstructionEnd:
            OnInstructionEnd(reader, reader->GetValue());
            break;
        default:
            // Comments, CDATA sections and the starts of instructions: CDATA text never becomes content.
            break;
        }
    }
}

void COSMMarkupBuilder::OnStartElement(LPCWSTR tag, const RefPtr<COSMMarkupObject>& root)
{
    if (m_openElements.empty() && root)
        ThrowBuilderException("There are multiple root elements");
    // The tree walks after the build (inheritance, layout, drawing, hit tests, release) recurse once per level.
    if (m_openElements.size() >= static_cast<size_t>(kMaxElementDepth))
        ThrowBuilderException("Elements are nested deeper than 256 levels");
    if (!m_openElements.empty())
        FlushText();

    RefPtr<COSMMarkupObject> object;
    if (LPCWSTR dot = wcschr(tag, L'.'))
    {
        // A property element; its owner tag need not be the parent's.
        COSMMarkupDependencyProperty* property =
            m_openElements.empty() ? nullptr : FindTypeProperty(std::wstring(tag, dot).c_str(), dot + 1);
        if (property)
            object.Attach(new COSMMarkupObjectProperty(property));
    }
    else
    {
        object.Attach(CreateObject(tag));
    }
    if (!object)
        ThrowBuilderException(FormatMarkupMessage1("The tag '%ls' does not exist in XML namespace", tag));
    object->SetTagName(tag);
    m_openElements.push_back(object.Get());
    object.Detach();
}

void COSMMarkupBuilder::OnAttribute(LPCWSTR name, LPCWSTR value)
{
    if (m_openElements.empty())
        ThrowBuilderException("Unexpected error");
    // Namespaces play no part.
    if (wcsncmp(name, L"xmlns", 5) == 0)
        return;
    COSMMarkupObject* target = m_openElements.back();
    COSMMarkupDependencyProperty* property = ResolveProperty(target->GetType(), name);
    if (!property)
        ThrowBuilderException(FormatMarkupMessage1("The property '%ls' does not exist in XML namespace", name));
    auto object = RefPtr<COSMMarkupObject>::Adopt(CreateAttributeValue(value));
    target->SetPropertyObject(this, property, object.Get());
    object.Detach();
}

COSMMarkupObject* COSMMarkupBuilder::CreateAttributeValue(LPCWSTR text)
{
    if (LPCWSTR literal = AfterPrefix(text, L"{}"))
        return COSMMarkupString::CreateValue(literal, -1);
    if (text[0] == L'{')
    {
        if (COSMMarkupObject* value = ParseMarkupExtension(text + 1))
            return value;
    }
    return COSMMarkupString::CreateValue(text, -1);
}

void COSMMarkupBuilder::OnText(LPCWSTR text)
{
    if (m_openElements.empty())
        ThrowBuilderException("Data at the root level is invalid");
    if (m_bWhiteSpacePending)
    {
        // White space between words is one blank; before the first word only where content came before it.
        if (!m_text.IsEmpty() || m_openElements.back()->HasContentObject())
            m_text.Append(L" ", 1);
        m_bWhiteSpacePending = FALSE;
    }
    m_text.Append(text, static_cast<int>(wcslen(text)));
}

void COSMMarkupBuilder::FlushText()
{
    COSMMarkupObject* target = m_openElements.back();
    const BOOL whiteSpace = m_bWhiteSpacePending;
    m_bWhiteSpacePending = FALSE;
    if (!m_text.IsEmpty())
    {
        if (whiteSpace)
            m_text.Append(L" ", 1);
        GiveText(target, m_text.GetText(), m_text.GetLength());
    }
    else if (whiteSpace && target->HasContentObject() && target->AllowWhiteSpaceContent())
    {
        GiveText(target, L" ", 1);
    }
    m_text.Clear();
}

void COSMMarkupBuilder::GiveText(COSMMarkupObject* target, LPCWSTR text, int length)
{
    auto content = RefPtr<COSMMarkupObject>::Adopt(COSMMarkupString::CreateValue(text, length));
    m_text.Clear();
    target->SetContentObject(this, content.Get());
    content.Detach();
}

void COSMMarkupBuilder::OnEndElement(LPCWSTR tag, RefPtr<COSMMarkupObject>& root)
{
    if (m_openElements.empty())
        ThrowBuilderException("Unexpected end tag");
    auto element = RefPtr<COSMMarkupObject>::Adopt(m_openElements.back());
    m_openElements.pop_back();
    LPCWSTR startTag = element->GetTagName() ? element->GetTagName() : L"";
    if (wcscmp(startTag, tag) != 0)
    {
        ThrowBuilderException(
            FormatMarkupMessage2("The '%ls' start tag does not match the end tag of '%ls'", startTag, tag));
    }
    // Trailing white space is dropped.
    m_bWhiteSpacePending = FALSE;
    if (!m_text.IsEmpty())
        GiveText(element.Get(), m_text.GetText(), m_text.GetLength());

    if (COSMMarkupObjectProperty* propertyElement = MarkupDynamicCast<COSMMarkupObjectProperty>(element.Get()))
    {
        COSMMarkupDependencyProperty* property = propertyElement->GetProperty();
        auto value = RefPtr<COSMMarkupObject>::Adopt(propertyElement->DetachValue());
        if (!value)
        {
            ThrowBuilderException(FormatMarkupMessage1("'%ls' property does not have a value", property->GetName()));
        }
        // A property element is only ever opened inside an element.
        m_openElements.back()->SetPropertyObject(this, property, value.Get());
        value.Detach();
        return;
    }
    if (m_openElements.empty())
    {
        root.Attach(element.Detach());
        return;
    }
    m_openElements.back()->SetContentObject(this, element.Get());
    element.Detach();
}

void COSMMarkupBuilder::OnInstructionEnd(COSMMarkupXmlReader* reader, LPCWSTR text)
{
    // The declaration's blanks are gone: ...encoding="utf-8"... names UTF-8 for the rest of the text.
    LPCWSTR encoding = wcsstr(text, L"encoding");
    if (!encoding)
        return;
    LPCWSTR name = encoding + wcslen(L"encoding");
    if (wcslen(name) >= 7 && wcsncmp(name + 2, L"utf-8", 5) == 0)
        reader->SetCodePage(CP_UTF8);
}

void COSMMarkupBuilder::ReleaseOpenElements()
{
    while (!m_openElements.empty())
    {
        COSMMarkupObject* object = m_openElements.back();
        m_openElements.pop_back();
        object->Release();
    }
    m_text.Clear();
    m_bWhiteSpacePending = FALSE;
}

// ---- Types, properties and values -----------------------------------------------------------------------------

COSMMarkupObject* COSMMarkupBuilder::CreateObject(LPCWSTR tag)
{
    return CreateInstance(GetMarkupTypeRegistry()->Lookup(tag));
}

COSMMarkupObject* COSMMarkupBuilder::CreateInstance(const COSMMarkupType* type)
{
    if (!type)
        return nullptr;
    return m_pContext ? m_pContext->CreateObject(type) : type->CreateInstance();
}

COSMMarkupType* COSMMarkupBuilder::FindType(LPCWSTR tag)
{
    COSMMarkupType* type = GetMarkupTypeRegistry()->Lookup(tag);
    if (!type)
        ThrowBuilderException(FormatMarkupMessage1("Cannot find type '%ls'", tag));
    type->AddRef();
    return type;
}

COSMMarkupDependencyProperty* COSMMarkupBuilder::FindTypeProperty(LPCWSTR tag, LPCWSTR name)
{
    const COSMMarkupType* type = GetMarkupTypeRegistry()->Lookup(tag);
    return type ? COSMMarkupDependencyProperty::FindProperty(type, name) : nullptr;
}

COSMMarkupDependencyProperty* COSMMarkupBuilder::ResolveProperty(const COSMMarkupType* type, LPCWSTR name)
{
    if (!name)
        return nullptr;
    if (LPCWSTR dot = wcschr(name, L'.'))
        return FindTypeProperty(std::wstring(name, dot).c_str(), dot + 1);
    return type ? COSMMarkupDependencyProperty::FindProperty(type, name) : nullptr;
}

COSMMarkupObject* COSMMarkupBuilder::ConvertValue(COSMMarkupDependencyProperty* property, COSMMarkupObject* value)
{
    const COSMMarkupPropertyMetadata* metadata = property->GetMetadata();
    COSMMarkupType* valueType = property->GetValueType();
    const COSMMarkupPropertyMetadata::Converter converter = metadata ? metadata->GetConverter() : nullptr;
    const void* way = converter ? reinterpret_cast<const void*>(converter) : static_cast<const void*>(valueType);

    // A value this parse converted from the same text the same way already is shared (see m_sharedConversions).
    const COSMMarkupString* text = m_bParsing && way ? MarkupDynamicCast<COSMMarkupString>(value) : nullptr;
    if (!text || text->GetLength() > kMaxSharedConversionText)
        return ConvertValueOnce(property, converter, valueType, value);
    if (m_sharedConversions.empty())
        m_sharedConversions.resize(kMaxSharedConversions * 2);
    const size_t length = static_cast<size_t>(text->GetLength());
    const UINT hash = HashMarkupText(text->GetText(), text->GetLength());
    const size_t mask = m_sharedConversions.size() - 1;
    size_t at = (hash ^ static_cast<UINT>(reinterpret_cast<uintptr_t>(way) >> 4)) & mask;
    for (; m_sharedConversions[at].converter; at = (at + 1) & mask)
    {
        const SharedConversion& shared = m_sharedConversions[at];
        if (shared.converter == way && shared.hash == hash && shared.text.size() == length &&
            wmemcmp(shared.text.data(), text->GetText(), length) == 0)
        {
            return RefPtr<COSMMarkupObject>(shared.value).Detach();
        }
    }
    COSMMarkupObject* converted = ConvertValueOnce(property, converter, valueType, value);
    if (m_nSharedConversions < kMaxSharedConversions && IsShareableValue(converted))
    {
        SharedConversion& shared = m_sharedConversions[at];
        shared.text.assign(text->GetText(), length);
        shared.hash = hash;
        shared.value = RefPtr<COSMMarkupObject>::Retain(converted);
        shared.converter = way;
        ++m_nSharedConversions;
    }
    return converted;
}

BOOL COSMMarkupBuilder::IsShareableValue(const COSMMarkupObject* value)
{
    if (!value)
        return FALSE;
    // Exactly these classes: they hold one value each, set when they are made, and have no properties of their own.
    const COSMMarkupType* type = value->GetType();
    return type == COSMMarkupInt::GetClassType() || type == COSMMarkupDouble::GetClassType() ||
           type == COSMMarkupEnum::GetClassType() || type == COSMMarkupThickness::GetClassType() ||
           type == COSMMarkupGridLength::GetClassType();
}

COSMMarkupObject* COSMMarkupBuilder::ConvertValueOnce(COSMMarkupDependencyProperty* property,
                                                      COSMMarkupObject* (*converter)(COSMMarkupBuilder*,
                                                                                     COSMMarkupObject*),
                                                      COSMMarkupType* valueType, COSMMarkupObject* value)
{
    if (converter)
    {
        if (COSMMarkupObject* converted = converter(this, value))
            return converted;
    }
    // The value type converts text on a default instance of itself, which conversions only read: a parse keeps one
    // per type until it ends.
    RefPtr<COSMMarkupObject> fresh;
    RefPtr<COSMMarkupObject>& instance = m_bParsing ? m_converters[valueType] : fresh;
    if (!instance)
        instance = RefPtr<COSMMarkupObject>::Adopt(CreateInstance(valueType));
    if (instance)
    {
        if (COSMMarkupObject* converted = instance->ConvertFrom(this, value))
            return converted;
    }
    ThrowBuilderException(FormatMarkupMessage2("Cannot convert string in attribute '%ls' to object of type '%ls'",
                                               property->GetName(), valueType ? valueType->GetMarkupClassName() : L""));
}

COSMMarkupObject* COSMMarkupBuilder::ParseMarkupExtension(LPCWSTR text)
{
    // A key may itself be an extension: the nesting is bounded like the elements'.
    const CDepthGuard depth(m_nExtensionDepth);
    if (m_nExtensionDepth > kMaxExtensionDepth)
        ThrowBuilderException("Markup extensions are nested deeper than 16 levels");
    const size_t length = wcslen(text);
    if (length == 0 || text[length - 1] != L'}')
        ThrowBuilderException("Markup extension expressions must end with '}'");
    // The text without its '}': in a buffer on the stack for the usual short keys, no heap block per reference.
    WCHAR shortBody[64];
    std::wstring longBody;
    LPCWSTR body = shortBody;
    if (length - 1 < sizeof(shortBody) / sizeof(shortBody[0]))
    {
        wmemcpy(shortBody, text, length - 1);
        shortBody[length - 1] = 0;
    }
    else
    {
        longBody.assign(text, length - 1);
        body = longBody.c_str();
    }

    if (LPCWSTR member = AfterPrefix(body, L"x:Static "))
        return GetSystemColors()->ProvideValue(this, member);
    LPCWSTR key = AfterPrefix(body, L"StaticResource ");
    // A dynamic resource is read once, like a static one: nothing follows later changes.
    if (!key)
        key = AfterPrefix(body, L"DynamicResource ");
    if (key)
    {
        if (!m_pResourceLookup)
            m_pResourceLookup = std::make_unique<COSMMarkupResourceLookup>();
        return m_pResourceLookup->ProvideValue(this, key);
    }
    if (LPCWSTR tag = AfterPrefix(body, L"x:Type "))
        return FindType(tag);
    ThrowBuilderException(FormatMarkupMessage1("The tag '%ls' does not exist in XML namespace", body));
}

COSMMarkupSystemColors* COSMMarkupBuilder::GetSystemColors()
{
    if (!m_pSystemColors)
        m_pSystemColors = std::make_unique<COSMMarkupSystemColors>();
    return m_pSystemColors.get();
}

void COSMMarkupBuilder::ThrowBuilderException(LPCSTR message)
{
    throw new COSMMarkupBuilderException(message);
}

// ---- The pending text -------------------------------------------------------------------------------------------

void COSMMarkupBuilder::TextBuffer::Append(LPCWSTR text, int length)
{
    if (length <= 0)
        return;
    if (length > INT_MAX - 1 - m_nLength)
        throw std::bad_alloc();
    const size_t needed = static_cast<size_t>(m_nLength) + static_cast<size_t>(length) + 1;
    if (needed > m_buffer.size())
        m_buffer.resize(m_buffer.size() + std::max<size_t>(256, static_cast<size_t>(length) + 1));
    wmemcpy(m_buffer.data() + m_nLength, text, static_cast<size_t>(length));
    m_nLength += length;
    m_buffer[static_cast<size_t>(m_nLength)] = 0;
}
