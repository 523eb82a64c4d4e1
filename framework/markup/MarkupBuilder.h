// COSMMarkupBuilder turns the tokens of a COSMMarkupXmlReader into a tree of markup objects: an object for every
// element tag (made through the markup context), attributes set as dependency properties (text converted to the
// property's type), the markup extensions {x:Static ...}, {StaticResource ...}, {DynamicResource ...} and
// {x:Type ...}, property elements (<Border.Background>), and text and child elements given to their parents as
// content. One builder serves one parse:
//
//   COSMMarkupXmlReader reader;
//   reader.SetInput(text, text + strlen(text));
//   COSMMarkupBuilder builder(context);
//   COSMMarkupUIElement* root = builder.Parse(&reader);   // one reference for the caller, or null
//   if (!root) TRACE("%s\n", builder.GetLastErrorMessage());   // "<message>. Line 3, position 10"
//
// Anything that fails inside the parse (a builder exception, another class-library exception, std::bad_alloc ...)
// ends it: nothing of the partial tree survives, and the last error names the message and the 1-based line and
// position the reader had reached. Elements nest at most 256 deep and extensions 16 deep, so no text can make the
// tree walks that follow exhaust the stack.
#pragma once

#include "classlib/CString.h"
#include "classlib/RefPtr.h"
#include "framework/markup/MarkupObject.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class COSMMarkupContext;
class COSMMarkupResourceLookup;
class COSMMarkupSystemColors;
class COSMMarkupUIElement;
class COSMMarkupXmlReader;

class COSMMarkupBuilder
{
public:
    static constexpr int kMaxElementDepth = 256;
    static constexpr int kMaxExtensionDepth = 16;

    // context makes the objects (may be null: objects are then made bare).
    explicit COSMMarkupBuilder(COSMMarkupContext* context);
    COSMMarkupBuilder(const COSMMarkupBuilder&) = delete;
    COSMMarkupBuilder& operator=(const COSMMarkupBuilder&) = delete;
    // Frees the system colours, the resource lookup and whatever a parse left open.
    virtual ~COSMMarkupBuilder();

    COSMMarkupContext* GetContext() const { return m_pContext; }

    // Builds the tree the reader's text describes: its root, which must be a UI element, with one reference for the
    // caller; null on failure, with the message in GetLastErrorMessage.
    COSMMarkupUIElement* Parse(COSMMarkupXmlReader* reader);
    // "" when the last parse succeeded or none failed yet; otherwise "<message>. Line <l>, position <p>", or the
    // bare message for the two failures that have no position (no markup at the start, a root that is no UI
    // element).
    LPCSTR GetLastErrorMessage() const { return m_strLastError; }

    // A new object of the type registered for tag (case-sensitive), one reference for the caller; null for a tag
    // no type has.
    COSMMarkupObject* CreateObject(LPCWSTR tag);
    // A new default instance of type, through the context when there is one; null for a null type.
    COSMMarkupObject* CreateInstance(const COSMMarkupType* type);
    // The type registered for tag with a reference added; throws "Cannot find type '<tag>'".
    COSMMarkupType* FindType(LPCWSTR tag);
    // The property name of the type registered for tag (or of one of its bases), or null.
    COSMMarkupDependencyProperty* FindTypeProperty(LPCWSTR tag, LPCWSTR name);
    // "Owner.Name": the property Name of the type registered for Owner; a name without a dot: the property of type
    // (or of one of its bases). A leading "x:" is dropped. Null when there is none.
    COSMMarkupDependencyProperty* ResolveProperty(const COSMMarkupType* type, LPCWSTR name);

    // A new object of the property's value type made from value (borrowed): the metadata's converter first, then
    // ConvertFrom on a fresh default instance of the value type. Throws COSMMarkupBuilderException "Cannot convert
    // string in attribute '<property>' to object of type '<value type>'" when neither gives one.
    COSMMarkupObject* ConvertValue(COSMMarkupDependencyProperty* property, COSMMarkupObject* value);
    // The value of a markup extension, given the text after its '{' (one reference for the caller): "x:Static "
    // a system colour, brush or key; "StaticResource " or "DynamicResource " a resource, looked up once; "x:Type "
    // a type record. Throws for text without its closing '}', for any other kind and for what each kind cannot
    // find, and for extensions nested deeper than kMaxExtensionDepth.
    COSMMarkupObject* ParseMarkupExtension(LPCWSTR text);

    // Throws a COSMMarkupBuilderException with message.
    [[noreturn]] static void ThrowBuilderException(LPCSTR message);

    // ---- For the resource lookup's own use ---------------------------------------------------------------------
    // The objects whose start tag has been read and whose end tag has not, outermost (0) to innermost.
    int GetOpenElementCount() const { return static_cast<int>(m_openElements.size()); }
    COSMMarkupObject* GetOpenElement(int index) const { return m_openElements[static_cast<size_t>(index)]; }
    // This parse's system colours, made on first use.
    COSMMarkupSystemColors* GetSystemColors();

private:
    // Reads tokens to the end of the text; the root with its reference. Throws on any failure.
    COSMMarkupObject* ReadTree(COSMMarkupXmlReader* reader);
    void OnStartElement(LPCWSTR tag, const RefPtr<COSMMarkupObject>& root);
    void OnAttribute(LPCWSTR name, LPCWSTR value);
    void OnText(LPCWSTR text);
    void OnEndElement(LPCWSTR tag, RefPtr<COSMMarkupObject>& root);
    void OnInstructionEnd(COSMMarkupXmlReader* reader, LPCWSTR text);
    // An attribute's text as the object it stands for: literal text after "{}", an extension after '{', else text.
    COSMMarkupObject* CreateAttributeValue(LPCWSTR text);
    // ConvertValue without the parse's shared values: converter (may be null), then the value type's ConvertFrom.
    COSMMarkupObject* ConvertValueOnce(COSMMarkupDependencyProperty* property,
                                       COSMMarkupObject* (*converter)(COSMMarkupBuilder*, COSMMarkupObject*),
                                       COSMMarkupType* valueType, COSMMarkupObject* value);
    // TRUE for an object of a class whose converted values a parse shares.
    static BOOL IsShareableValue(const COSMMarkupObject* value);
    // Gives the pending text (and white space) to the innermost open object before a child element starts.
    void FlushText();
    // Hands text to target as a COSMMarkupString content.
    void GiveText(COSMMarkupObject* target, LPCWSTR text, int length);
    // Releases every open object, innermost first, and forgets the pending text.
    void ReleaseOpenElements();

    // The text of the current element's content so far: runs of white space become one blank between words.
    class TextBuffer
    {
    public:
        void Append(LPCWSTR text, int length);
        void Clear() { m_nLength = 0; }
        BOOL IsEmpty() const { return m_nLength == 0; }
        LPCWSTR GetText() const { return m_buffer.data(); }
        int GetLength() const { return m_nLength; }

    private:
        std::vector<WCHAR> m_buffer;
        int m_nLength = 0;
    };

    CString m_strLastError;
    COSMMarkupContext* m_pContext;
    std::unique_ptr<COSMMarkupSystemColors> m_pSystemColors;
    // One default instance per value type that converts attribute text, made on its first conversion and kept for
    // the parse: a document converts thousands of values of a handful of types.
    std::map<const COSMMarkupType*, RefPtr<COSMMarkupObject>> m_converters;
    // Converted attribute values of the plain value classes (numbers, lengths, thicknesses, grid lengths, enums),
    // which nothing changes once made: one object per converter and text for the parse, shared by every element
    // that names it, as the shared booleans and small enums are. A document sets the same margin or width on
    // thousands of elements. Bounded, so a document of distinct values holds no more than this many.
    // An open-addressed table of twice that many places, made on the first conversion.
    struct SharedConversion
    {
        const void* converter = nullptr;  // the metadata's converter, or the value type (ConvertFrom); null: free
        UINT hash = 0;
        std::wstring text;
        RefPtr<COSMMarkupObject> value;
    };
    static constexpr size_t kMaxSharedConversions = 256;
    static constexpr int kMaxSharedConversionText = 32;
    std::vector<SharedConversion> m_sharedConversions;
    size_t m_nSharedConversions = 0;
    bool m_bParsing = false;
    std::unique_ptr<COSMMarkupResourceLookup> m_pResourceLookup;
    // One creation reference each.
    std::vector<COSMMarkupObject*> m_openElements;
    TextBuffer m_text;
    BOOL m_bWhiteSpacePending = FALSE;
    int m_nExtensionDepth = 0;
};
