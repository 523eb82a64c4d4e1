// COSMPropExchangeArchive: the property exchange over a binary archive. Names and defaults are dropped; every
// value is written and read in the order of the exchange calls, so a writer and a reader agree byte for byte
// as long as both make the same calls with the same schema:
//
//   CArchive ar(&file, CArchive::store);
//   COSMPropExchangeArchive px(ar);
//   bars.DoPropExchange(&px);
//
// A stream that ends early raises the archive's end-of-file exception out of the exchange.
#pragma once

#include "classlib/Object.h"
#include "framework/foundation/PropExchange.h"

class COSMPropExchangeArchive : public COSMPropExchange
{
    DECLARE_DYNAMIC(COSMPropExchangeArchive)

public:
    // Written before the schema, so data from before schemas existed (schema 17) can be told apart.
    static const DWORD kSchemaMarker = 0x0FF0ADBF;

    // The caller owns the archive; it must outlive the exchange and its sections.
    explicit COSMPropExchangeArchive(CArchive& archive);

    BOOL ExchangeProp(LPCSTR name, VARTYPE type, void* value, const void* defaultValue = nullptr) override;
    BOOL ExchangeBlob(LPCSTR name, BYTE** data, DWORD* size) override;
    BOOL ExchangeRuntimeClass(LPCSTR name, CRuntimeClass** runtimeClass, CRuntimeClass* defaultClass) override;
    BOOL ExchangeObjectInstance(CObject** object, CRuntimeClass* baseClass) override;
    CArchive* GetArchive(LPCSTR name) override;
    void ReleaseArchive(LPCSTR name, CArchive* archive) override;
    COSMPropExchange* GetSection(LPCSTR name) override;
    void WriteCount(DWORD count) override;
    DWORD ReadCount() override;
    void Write(LPCSTR name, const void* data, DWORD size) override;
    DWORD Read(LPCSTR name, void* data, DWORD size) override;
    BOOL CanOmitValues() const override;
    BOOL IsSequentialStorage() const override;
    void ExchangeSchema() override;

    // The variant types the stream can hold (interface objects and arrays cannot).
    static bool IsStorableVariantType(VARTYPE type);

protected:
    CArchive* m_pArchive;

private:
    void ExchangeVariant(VARIANT& value);
    // Exactly size bytes, or the archive's end-of-file exception.
    void ReadExact(void* data, UINT size);
    void ExchangeRaw(void* data, UINT size);
};
