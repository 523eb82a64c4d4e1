/*
 * Image writer entry points: builds an ISO9660 image with Joliet names and an El Torito boot entry from
 * files on disk and hands it out in sequential reads.
 *
 * Every call that takes T (exception text buffer, its size, address of the system error value) fills the
 * text with an empty string on success, or with a message naming the file or value at fault on failure
 * (always NUL-terminated, never longer than the given size), and stores errno / GetLastError of the failed
 * system call in the system error value (0 when no system call failed). Results are 0 or a
 * STARBURN_EXCEPTION_NUMBER. Paths are ANSI (the process code page) on Windows and UTF-8 elsewhere.
 *
 * A tree handle is used by one thread at a time; different trees are independent.
 */
#ifndef OSM_ISOWRITER_STARBURN_H
#define OSM_ISOWRITER_STARBURN_H

#include <stdint.h>

#ifdef __cplusplus
#include <atomic>
/* Written by the thread that cancels while another runs the long calls. */
typedef std::atomic<long> STARBURN_CANCEL_FLAG;
#else
typedef _Atomic long STARBURN_CANCEL_FLAG;
#endif

#if defined(_WIN32)
#define STARBURN_CALL __stdcall
/* Same type as DWORD/ULONG, so the caller's own 32-bit values can be passed by address. */
typedef unsigned long STARBURN_ULONG;
#else
#define STARBURN_CALL
typedef uint32_t STARBURN_ULONG;
#endif

#ifdef __cplusplus
extern "C"
{
#endif

    /* Results of every call. The caller owns the texts that describe them. */
    typedef enum STARBURN_EXCEPTION_NUMBER
    {
        STARBURN_SUCCESS = 0,
        STARBURN_ERROR_UNDEFINED = 1,
        STARBURN_ERROR_INVALID_PARAMETER = 2,
        STARBURN_ERROR_INVALID_STATE = 3,
        STARBURN_ERROR_OUT_OF_MEMORY = 4,
        STARBURN_ERROR_SYSTEM_CALL = 5,
        STARBURN_ERROR_SCSI_TRANSPORT = 6,
        STARBURN_ERROR_SCSI_BUSY = 7,
        STARBURN_ERROR_SCSI_CDB_DELIVERY = 8,
        STARBURN_ERROR_SCSI_DEVICE_TYPE = 9,
        STARBURN_ERROR_UNEXPECTED_RESULT = 10,
        STARBURN_ERROR_BUFFER_UNDERRUN = 11,
        STARBURN_ERROR_NOT_ALLOCATED = 12,
        STARBURN_ERROR_WRONG_VERSION = 13,
        STARBURN_ERROR_CANCELLED = 14,
        STARBURN_ERROR_PATH_TOO_LONG = 15,
        STARBURN_ERROR_UNDER_CONSTRUCTION = 16,
        STARBURN_ERROR_NOT_FOUND = 17,
        STARBURN_ERROR_FILE_TOO_BIG = 18,
        STARBURN_ERROR_NOT_IMPLEMENTED = 19,
        STARBURN_ERROR_INVALID_RANGE = 20,
        STARBURN_ERROR_REGISTRATION = 21,
        STARBURN_ERROR_AUDIO_FORMAT = 22,
        STARBURN_ERROR_BUFFER_TOO_SMALL = 23,
        STARBURN_ERROR_MIDDLE_LAYER = 24,
        STARBURN_ERROR_RECOVERY_FAILED = 25,
        STARBURN_ERROR_MEDIA_UNKNOWN = 26,
        STARBURN_ERROR_MEDIA_SEEK = 27,
        STARBURN_ERROR_MEDIA_READ = 28,
        STARBURN_ERROR_TRACK_OPERATION = 29,
        STARBURN_ERROR_READ_MODE = 30,
        STARBURN_ERROR_REQUEST_TOO_LARGE = 31,
        STARBURN_ERROR_ERASE_REQUIRED = 32,
        STARBURN_ERROR_VERIFY_MISMATCH = 33,
        STARBURN_ERROR_DPM = 34,
        STARBURN_ERROR_SHARING_VIOLATION = 35,
        STARBURN_ERROR_OBSOLETE = 36,
        STARBURN_ERROR_OS_VERSION = 37,
        STARBURN_ERROR_INVALID_CDB_FIELD = 38
    } STARBURN_EXCEPTION_NUMBER;

/* Boot emulation code for SetBootImage. Windows discs boot without emulation; floppy and hard-disk
 * emulation are not offered (any other code gives STARBURN_ERROR_NOT_IMPLEMENTED). */
#define STARBURN_BOOT_EMULATION_NONE 6u
/* El Torito platform ids. */
#define STARBURN_BOOT_PLATFORM_X86 0u

/* Add flags: without STARBURN_ADD_WITH_CONTENTS a folder enters the image empty. */
#define STARBURN_ADD_ENTRY_ONLY 0u
#define STARBURN_ADD_WITH_CONTENTS 2u

/* Largest write for storing the image: the kernel takes bigger writes into its cache up to several times slower. */
#define STARBURN_WRITE_SLICE_BYTES (32u * 1024u)

/* Callback events: (event, value, 0, context). */
#define STARBURN_EVENT_TREE_PROGRESS 1u /* value: entries added so far by the running Add */
#define STARBURN_EVENT_IMAGE_BUILT 2u   /* value: image size in 2048-byte sectors (low 32 bits) */
#define STARBURN_EVENT_READ_PROGRESS 3u /* value: percent of the image read so far */

    typedef struct StarBurnTree_* STARBURN_TREE;
    typedef struct StarBurnNode_* STARBURN_NODE;

    typedef void(STARBURN_CALL* STARBURN_CALLBACK)(uint32_t event, uint32_t value, uint32_t reserved, void* context);

    /* Prepares the library. Safe to call any number of times, from any thread, without a shutdown call. */
    uint32_t STARBURN_CALL StarBurn_UpStartEx(char* exceptionText, uint32_t exceptionTextSize,
                                              STARBURN_ULONG* systemError);

    /* Non-zero: two names of one folder that become equal in the ISO9660 tree (or in Joliet) are made unique
     * at BuildImage. Zero (the default): such a pair fails BuildImage with STARBURN_ERROR_INVALID_PARAMETER.
     * Taken by every tree created afterwards. Returns 0. */
    uint32_t STARBURN_CALL StarBurn_SetIsCollisionDetectionDisabled(uint32_t isDisabled);

    /* Creates an empty tree.
     * reserved1, reserved2: must be 0.
     * isJoliet: non-zero writes the Joliet volume (original names); zero writes the ISO9660 volume only.
     * isFileDates: non-zero records each file's and folder's modification time; zero records the volume
     *              time everywhere (reproducible images). */
    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_Create(STARBURN_TREE* tree, char* exceptionText,
                                                                 uint32_t exceptionTextSize,
                                                                 STARBURN_ULONG* systemError,
                                                                 STARBURN_CALLBACK callback, void* context,
                                                                 uint32_t reserved1, uint32_t reserved2,
                                                                 uint32_t isJoliet, uint32_t isFileDates);

    /* The root folder of the tree, or NULL for a NULL tree. */
    STARBURN_NODE STARBURN_CALL StarBurn_ISO9660JolietFileTree_GetRoot(STARBURN_TREE tree);

    /* Adds one file or folder under *parent (a node from GetRoot or Add).
     * imageName: name in the image, or NULL for the entry's own name.
     * addFlags: STARBURN_ADD_WITH_CONTENTS takes a folder with everything below it; STARBURN_ADD_ENTRY_ONLY
     *           adds the folder alone.
     * sourcePath itself is taken even when it is a link. Inside folders, links to folders and junctions are
     * skipped, and so is a folder met again below itself (no loops); links to files are followed and give the
     * target's data; dangling links and devices are skipped. An entry named by ExcludePath is skipped
     * wherever it is met (newNode gets NULL when sourcePath itself is excluded). Joliet keeps the original
     * names (characters Joliet cannot hold become '_'); a name longer than 103 characters fails with
     * STARBURN_ERROR_PATH_TOO_LONG. ISO9660 names are upper-case d-characters, at most 31, without ";1".
     * The call adds all or nothing. newNode may be NULL. */
    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_Add(STARBURN_TREE tree, char* exceptionText,
                                                              uint32_t exceptionTextSize, STARBURN_ULONG* systemError,
                                                              const char* sourcePath, const char* imageName,
                                                              uint32_t addFlags, STARBURN_NODE* parent,
                                                              STARBURN_NODE* newNode);

    /* Makes the image bootable from a file outside the tree (copied into the image, not listed in it).
     * emulation: STARBURN_BOOT_EMULATION_NONE.
     * platformId: El Torito platform (0 = x86).
     * sectorCount: 512-byte sectors the BIOS loads (1..65535); 0 loads the whole file.
     * loadSegment: real-mode segment to load at; 0 means the BIOS default 0x7C0. */
    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_SetBootImage(STARBURN_TREE tree, const char* bootImagePath,
                                                                       uint32_t emulation, uint32_t platformId,
                                                                       uint32_t sectorCount, uint32_t loadSegment,
                                                                       char* exceptionText, uint32_t exceptionTextSize,
                                                                       STARBURN_ULONG* systemError);

    /* Lays out the image; afterwards the image is read from its first byte.
     * padSectors: zero sectors appended after the last file.
     * volumeTime: seconds since 1970-01-01 UTC for the volume dates, 0 = now.
     * volumeSequence: this disc's number in its volume set (1 for a single disc).
     * volumeLabel, publisher, application: identifiers of both volumes (NULL = blank). */
    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_BuildImage(STARBURN_TREE tree, char* exceptionText,
                                                                     uint32_t exceptionTextSize,
                                                                     STARBURN_ULONG* systemError, uint32_t padSectors,
                                                                     uint32_t volumeTime, uint32_t volumeSequence,
                                                                     const char* volumeLabel, const char* publisher,
                                                                     const char* application);

    /* Image size in bytes: low 32 bits as result, high 32 bits through sizeHigh (may be NULL). 0 before
     * BuildImage. */
    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_GetSizeInUCHARs(STARBURN_TREE tree, STARBURN_ULONG* sizeHigh);

    /* Restarts reading at byte 0 (also after a failed or cancelled Read). */
    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_SeekToBegin(STARBURN_TREE tree, char* exceptionText,
                                                                      uint32_t exceptionTextSize,
                                                                      STARBURN_ULONG* systemError);

    /* Fills buffer with exactly size bytes: the next bytes of the image. Asking past the end gives
     * STARBURN_ERROR_INVALID_RANGE. A file that changed size since Add fails with
     * STARBURN_ERROR_UNEXPECTED_RESULT, one that cannot be opened or read with STARBURN_ERROR_NOT_FOUND or
     * STARBURN_ERROR_SYSTEM_CALL; after a failure reading needs SeekToBegin. */
    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_Read(STARBURN_TREE tree, char* exceptionText,
                                                               uint32_t exceptionTextSize, STARBURN_ULONG* systemError,
                                                               uint32_t size, void* buffer);

    /* A file or folder Add skips wherever it meets it (e.g. the output image inside the source folder). */
    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_ExcludePath(STARBURN_TREE tree, const char* path);

    /* While *flag is 0 the long calls run; once it becomes non-zero Add, BuildImage and Read stop and return
     * STARBURN_ERROR_CANCELLED. NULL removes the flag. The flag must outlive its use by the tree. */
    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_SetCancelFlag(STARBURN_TREE tree,
                                                                        const STARBURN_CANCEL_FLAG* flag);

    /* Frees the tree and sets *tree to NULL. NULL or an address of NULL does nothing. */
    void STARBURN_CALL StarBurn_Destroy(STARBURN_TREE* tree);

#ifdef __cplusplus
}
#endif

#endif
