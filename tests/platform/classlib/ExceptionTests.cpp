// The library's exceptions: what each throw function raises, and that Delete frees heap exceptions only.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

// Counts its own destruction, so a test can see whether Delete freed it.
class CProbeException : public CException
{
public:
    explicit CProbeException(int* pDestroyed) : m_pDestroyed(pDestroyed) {}
    ~CProbeException() override { ++*m_pDestroyed; }

private:
    int* m_pDestroyed;
};

// Runs thrower and hands back what it threw as the library's exception pointer (null when nothing or something else
// was thrown).
CException* Catch(const std::function<void()>& thrower)
{
    try
    {
        thrower();
    }
    catch (CException* e)
    {
        return e;
    }
    catch (...)
    {}
    return nullptr;
}

}  // namespace

TEST(Exceptions, ThrowFunctionsRaiseHeapExceptionsOfTheirClass)
{
    struct Case
    {
        const char* name;
        std::function<void()> thrower;
        const CRuntimeClass* pClass;
        const char* message;
    };
    const Case cases[] = {
        {"archive", [] { AfxThrowArchiveException(CArchiveException::badClass, "C:\\data\\bars.bin"); },
         RUNTIME_CLASS(CArchiveException), "\"C:\\data\\bars.bin\": Unknown or unexpected class in the archive."},
        {"file", [] { AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, "C:\\data\\bars.bin"); },
         RUNTIME_CLASS(CFileException), "\"C:\\data\\bars.bin\": "},
        {"not supported", [] { AfxThrowNotSupportedException(); }, RUNTIME_CLASS(CNotSupportedException),
         "Unsupported operation."},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CException* e = Catch(c.thrower);
        ASSERT_NE(e, nullptr);
        EXPECT_TRUE(e->IsKindOf(c.pClass));
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
        EXPECT_TRUE(e->IsAutoDelete());
        EXPECT_EQ(e->GetErrorMessage().Find(c.message), 0) << e->GetErrorMessage().GetString();
        e->Delete();
    }
}

TEST(Exceptions, CarryTheirCausesAndNames)
{
    CException* e = Catch([] { AfxThrowArchiveException(CArchiveException::endOfFile, "a.bin"); });
    ASSERT_NE(e, nullptr);
    auto* archive = dynamic_cast<CArchiveException*>(e);
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(archive->m_cause, 3);
    EXPECT_EQ(archive->m_strFileName, "a.bin");
    e->Delete();

    e = Catch([] { AfxThrowFileException(CFileException::accessDenied, ERROR_ACCESS_DENIED, "b.bin"); });
    ASSERT_NE(e, nullptr);
    auto* file = dynamic_cast<CFileException*>(e);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->m_cause, CFileException::accessDenied);
    EXPECT_EQ(file->m_lOsError, ERROR_ACCESS_DENIED);
    EXPECT_EQ(file->m_strFileName, "b.bin");
    e->Delete();

    // The causes are numbered as stored data and callers expect.
    const int causes[] = {CArchiveException::none,      CArchiveException::genericException,
                          CArchiveException::readOnly,  CArchiveException::endOfFile,
                          CArchiveException::writeOnly, CArchiveException::badIndex,
                          CArchiveException::badClass,  CArchiveException::badSchema};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(causes[i], i);
}

TEST(Exceptions, DeleteFreesOnlyHeapExceptions)
{
    int destroyed = 0;
    CException* heap = new CProbeException(&destroyed);
    EXPECT_TRUE(heap->IsAutoDelete());
    heap->Delete();
    EXPECT_EQ(destroyed, 1);

    {
        CProbeException local(&destroyed);
        EXPECT_FALSE(local.IsAutoDelete());
        local.Delete();  // must not free a stack object
        EXPECT_EQ(destroyed, 1);
    }
    EXPECT_EQ(destroyed, 2);  // destroyed once, by its scope

    // Thrown and caught the way library code does it.
    try
    {
        throw new CProbeException(&destroyed);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    EXPECT_EQ(destroyed, 3);
}

TEST(Exceptions, CopiesOfFileErrorsKnowWhereTheyLive)
{
    // CFile hands its error record around by value; a heap copy is the heap's, a stack copy is not.
    CFileException onStack(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "x.txt");
    std::unique_ptr<CFileException> owned(new CFileException(onStack));
    EXPECT_TRUE(owned->IsAutoDelete());
    CFileException copy(*owned);
    EXPECT_FALSE(copy.IsAutoDelete());
    EXPECT_EQ(copy.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(copy.m_strFileName, "x.txt");
    copy.Delete();  // harmless on a stack object
    owned.release()->Delete();
}

TEST(Exceptions, MemoryExceptionIsOneStaticObjectThatDeleteKeeps)
{
    CException* first = Catch([] { AfxThrowMemoryException(); });
    CException* second = Catch([] { AfxThrowMemoryException(); });
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_TRUE(first->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    EXPECT_FALSE(first->IsAutoDelete());
    first->Delete();
    second->Delete();
    EXPECT_EQ(first->GetErrorMessage(), "Out of memory.");

    // Caught by its own class too: the pointer's static type is the derived one.
    bool caughtAsMemory = false;
    try
    {
        AfxThrowMemoryException();
    }
    catch (CMemoryException* e)
    {
        caughtAsMemory = true;
        e->Delete();
    }
    EXPECT_TRUE(caughtAsMemory);
}
