/* lumoidl.h: the public interface of the lumoidl IDL front end, for C and C++ hosts. */
#ifndef LUMOIDL_LUMOIDL_H
#define LUMOIDL_LUMOIDL_H

#include <stdint.h>
#include <stddef.h>

#if defined(_WIN32)
#include <wchar.h>
#elif !defined(__cplusplus)
#include <uchar.h>
#endif

/*
 * Calling and linking
 * -------------------
 * Every object the library hands out is an interface record: a pointer `me` to the
 * implementing object followed by a pointer `vTbl` to a constant table of operations.
 * Operation k is called as rec->vTbl->op(rec->me, ...). The typed inline wrappers at the
 * end of this header (ILumoIDLInterface_getName(rec, text) and so on) do exactly that.
 *
 * Reference counting: only the parse result and libraries carry counts. Every other item
 * pointer is borrowed from its library and stays valid while that library lives.
 */

#if defined(_WIN32)
/** One UTF-16 code unit as it crosses the boundary. */
typedef wchar_t LumoChar;
/** Makes a LumoChar string literal from a plain one. */
#define LUMO_TEXT(s) L##s
#else
/** One UTF-16 code unit as it crosses the boundary. */
typedef char16_t LumoChar;
/** Makes a LumoChar string literal from a plain one. */
#define LUMO_TEXT(s) u##s
#endif

#if defined(__cplusplus)
#define LUMO_EXTERN_C extern "C"
#define LUMO_INLINE inline
#else
#define LUMO_EXTERN_C
#define LUMO_INLINE static inline
#endif

#if defined(__cplusplus)
#define LUMO_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define LUMO_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

#if defined(_WIN32)
#if defined(LUMOIDL_BUILDING_LIBRARY)
#define LUMO_API __declspec(dllexport)
#else
#define LUMO_API
#endif
#else
#define LUMO_API __attribute__((visibility("default")))
#endif

/** 32-bit result code of every operation that reports one; only the low 32 bits count. */
typedef uint32_t LUMORESULT;
/** Success. */
#define LUMO_OK ((LUMORESULT)0)
/** Failure of a host object; the object keeps the details as an ILumoError. */
#define LUMO_FAILED ((LUMORESULT)1)
/** A string receiver passed in by the host was null. */
#define LUMO_NULL_POINTER ((LUMORESULT)103)
/** Index out of range, name or uuid not found, or attribute present without a value. */
#define LUMO_NO_SUCH_ITEM ((LUMORESULT)107)

/** Boolean answer of sortInterfaces: one byte, non-zero for true. */
typedef uint8_t LumoBool;

/** A 16-byte uuid; byte k holds hexadecimal digits 2k and 2k+1 of its text form. */
typedef struct LumoUUID {
    uint8_t bytes[16]; /**< In the order in which the text form writes them. */
} LumoUUID;

/** Kind of a resolved type, as ILumoIDLType_getKind reports it. */
typedef enum LumoTypeKind {
    LUMO_KIND_LUMORESULT = 1,            /**< LUMORESULT */
    LUMO_KIND_STRING = 2,                /**< LumoString */
    LUMO_KIND_INTEGER = 3,               /**< LumoInteger */
    LUMO_KIND_BOOLEAN = 4,               /**< LumoBoolean */
    LUMO_KIND_REAL = 5,                  /**< LumoReal */
    LUMO_KIND_OBJECT = 6,                /**< LumoObject, a declared interface, or ILumoError */
    LUMO_KIND_ARRAY_STRING = 7,          /**< LumoArrayString */
    LUMO_KIND_VALUE = 8,                 /**< LumoValue */
    LUMO_KIND_ARRAY_INTEGER = 9,         /**< LumoArrayInteger */
    LUMO_KIND_ARRAY_BOOLEAN = 10,        /**< LumoArrayBoolean */
    LUMO_KIND_ARRAY_REAL = 11,           /**< LumoArrayReal */
    LUMO_KIND_ARRAY_ENUMERATION = 12,    /**< LumoArrayEnumeration, one enumeration argument */
    LUMO_KIND_ENUMERATION = 13,          /**< LumoEnumeration or a declared enumeration */
    LUMO_KIND_ARRAY_VALUE = 14,          /**< LumoArrayValue */
    LUMO_KIND_ARRAY_BYTE = 15,           /**< LumoArrayByte */
    LUMO_KIND_UUID = 16,                 /**< LumoUUID */
    LUMO_KIND_WINDOW_ID = 17,            /**< LumoWindowId */
    LUMO_KIND_TEMPLATE_PARAMETER = 18    /**< a template parameter of the enclosing interface */
} LumoTypeKind;

/** Any interface record, seen without its type: object pointer, then operation table. */
typedef struct LumoInterface {
    void* me;          /**< The implementing object, passed first to every operation. */
    const void* vTbl;  /**< The constant operation table of the interface's kind. */
} LumoInterface;

typedef struct ILumoString ILumoString;
typedef struct ILumoStringArray ILumoStringArray;
typedef struct ILumoError ILumoError;
typedef struct ILumoIDLParseResult ILumoIDLParseResult;
typedef struct ILumoIDLLibrary ILumoIDLLibrary;
typedef struct ILumoIDLInterface ILumoIDLInterface;
typedef struct ILumoIDLMethod ILumoIDLMethod;
typedef struct ILumoIDLMethodArgument ILumoIDLMethodArgument;
typedef struct ILumoIDLEnumeration ILumoIDLEnumeration;
typedef struct ILumoIDLCategoryID ILumoIDLCategoryID;
typedef struct ILumoIDLType ILumoIDLType;

/* ---- Host objects: implemented by the host, only called by the library ---- */

/** Operations of the host's string object. */
typedef struct ILumoStringVtbl {
    /** Yields the UTF-16 text (read up to its first zero unit) and its length in units. */
    LUMORESULT (*get)(void* me, const LumoChar** data, uint32_t* length);
    /** Replaces the content with `length` units from `data`; non-zero on failure. */
    LUMORESULT (*set)(void* me, const LumoChar* data, uint32_t length);
} ILumoStringVtbl;

/** The host's string object. */
struct ILumoString {
    void* me;                    /**< The implementing object. */
    const ILumoStringVtbl* vTbl; /**< Its operations. */
};

/** Operations of the host's string array (the list of file names). */
typedef struct ILumoStringArrayVtbl {
    /** Yields the first element and the element count; an element may be null. */
    LUMORESULT (*get)(void* me, ILumoString* const** elements, uint32_t* count);
} ILumoStringArrayVtbl;

/** The host's string array. */
struct ILumoStringArray {
    void* me;                         /**< The implementing object. */
    const ILumoStringArrayVtbl* vTbl; /**< Its operations. */
};

/** Operations of the architecture's error object. */
typedef struct ILumoErrorVtbl {
    /** Adds a reference. */
    void (*addReference)(void* me);
    /** Drops a reference; the last one destroys the error. */
    void (*release)(void* me);
    /** Writes the error's own description; LUMO_FAILED when it cannot. */
    LUMORESULT (*getErrorText)(void* me, ILumoString* text);
    /** Writes the error that caused this one (a counted reference) or null. */
    LUMORESULT (*getCause)(void* me, ILumoError** cause);
    /** Writes the component in which the error arose; LUMO_FAILED when it cannot. */
    LUMORESULT (*getSource)(void* me, ILumoString* source);
    /** Writes the operation in which the error arose; LUMO_FAILED when it cannot. */
    LUMORESULT (*getScope)(void* me, ILumoString* scope);
} ILumoErrorVtbl;

/** The architecture's error object. */
struct ILumoError {
    void* me;                   /**< The implementing object. */
    const ILumoErrorVtbl* vTbl; /**< Its operations. */
};

/** Slot of a failed object's table that hands out its ILumoError. */
#define LUMO_GET_LAST_ERROR_SLOT 3
/** Type of the getLastError operation found at LUMO_GET_LAST_ERROR_SLOT. */
typedef LUMORESULT (*LumoGetLastErrorFn)(void* me, ILumoError** error);

/* ---- Library objects ---- */

/** Operations of the parse result. */
typedef struct ILumoIDLParseResultVtbl {
    void (*addReference)(void* me);                                                      /**< 0 */
    void (*release)(void* me);                                                           /**< 1 */
    int32_t (*getCategoryIDCount)(void* me);                                             /**< 2 */
    LUMORESULT (*getCategoryID)(void* me, int32_t index, ILumoIDLCategoryID** out);      /**< 3 */
    LUMORESULT (*getCategoryIDByName)(void* me, ILumoString* name, ILumoIDLCategoryID** out);  /**< 4 */
    LUMORESULT (*getCategoryIDByUUID)(void* me, const LumoUUID* uuid, ILumoIDLCategoryID** out); /**< 5 */
    int32_t (*getEnumerationCount)(void* me);                                            /**< 6 */
    LUMORESULT (*getEnumeration)(void* me, int32_t index, ILumoIDLEnumeration** out);    /**< 7 */
    LUMORESULT (*getEnumerationByName)(void* me, ILumoString* name, ILumoIDLEnumeration** out); /**< 8 */
    LUMORESULT (*getEnumerationByUUID)(void* me, const LumoUUID* uuid, ILumoIDLEnumeration** out); /**< 9 */
    int32_t (*getInterfaceCount)(void* me);                                              /**< 10 */
    LUMORESULT (*getInterface)(void* me, int32_t index, ILumoIDLInterface** out);        /**< 11 */
    LUMORESULT (*getInterfaceByName)(void* me, ILumoString* name, ILumoIDLInterface** out);   /**< 12 */
    LUMORESULT (*getInterfaceByUUID)(void* me, const LumoUUID* uuid, ILumoIDLInterface** out); /**< 13 */
    LumoBool (*sortInterfaces)(void* me);                                                /**< 14 */
    int32_t (*getLibraryCount)(void* me);                                                /**< 15 */
    LUMORESULT (*getLibrary)(void* me, int32_t index, ILumoIDLLibrary** out);            /**< 16: adds a reference */
    LUMORESULT (*getErrorMessage)(void* me, ILumoString* text);                          /**< 17 */
} ILumoIDLParseResultVtbl;

/** The result of one LumoIDLParse call; empty error text means success. */
struct ILumoIDLParseResult {
    void* me;                            /**< The implementing object. */
    const ILumoIDLParseResultVtbl* vTbl; /**< Its operations. */
};

/** Operations of one library. */
typedef struct ILumoIDLLibraryVtbl {
    void (*addReference)(void* me);                                                      /**< 0 */
    void (*release)(void* me);                                                           /**< 1 */
    int32_t (*getAttributeCount)(void* me);                                              /**< 2 */
    LUMORESULT (*getAttributeName)(void* me, int32_t index, ILumoString* text);          /**< 3 */
    LUMORESULT (*getAttributeValue)(void* me, int32_t index, ILumoString* text);         /**< 4 */
    LUMORESULT (*getAttributeValueByName)(void* me, ILumoString* name, ILumoString* text);  /**< 5 */
    int32_t (*hasAttribute)(void* me, ILumoString* name);                                /**< 6 */
    int32_t (*getCategoryIDCount)(void* me);                                             /**< 7 */
    LUMORESULT (*getCategoryID)(void* me, int32_t index, ILumoIDLCategoryID** out);      /**< 8 */
    LUMORESULT (*getCategoryIDByName)(void* me, ILumoString* name, ILumoIDLCategoryID** out);  /**< 9 */
    LUMORESULT (*getCategoryIDByUUID)(void* me, const LumoUUID* uuid, ILumoIDLCategoryID** out); /**< 10 */
    int32_t (*getEnumerationCount)(void* me);                                            /**< 11 */
    LUMORESULT (*getEnumeration)(void* me, int32_t index, ILumoIDLEnumeration** out);    /**< 12 */
    LUMORESULT (*getEnumerationByName)(void* me, ILumoString* name, ILumoIDLEnumeration** out); /**< 13 */
    LUMORESULT (*getEnumerationByUUID)(void* me, const LumoUUID* uuid, ILumoIDLEnumeration** out); /**< 14 */
    int32_t (*getInterfaceCount)(void* me);                                              /**< 15 */
    LUMORESULT (*getInterface)(void* me, int32_t index, ILumoIDLInterface** out);        /**< 16 */
    LUMORESULT (*getInterfaceByName)(void* me, ILumoString* name, ILumoIDLInterface** out);   /**< 17 */
    LUMORESULT (*getInterfaceByUUID)(void* me, const LumoUUID* uuid, ILumoIDLInterface** out); /**< 18 */
    LumoBool (*sortInterfaces)(void* me);                                                /**< 19 */
    void (*getName)(void* me, ILumoString* text);                                        /**< 20 */
    const LumoUUID* (*getUUID)(void* me);                                                /**< 21 */
} ILumoIDLLibraryVtbl;

/** One library declaration (one source file). */
struct ILumoIDLLibrary {
    void* me;                        /**< The implementing object. */
    const ILumoIDLLibraryVtbl* vTbl; /**< Its operations. */
};

/** Operations of one interface declaration. */
typedef struct ILumoIDLInterfaceVtbl {
    int32_t (*getAttributeCount)(void* me);                                              /**< 0 */
    LUMORESULT (*getAttributeName)(void* me, int32_t index, ILumoString* text);          /**< 1 */
    LUMORESULT (*getAttributeValue)(void* me, int32_t index, ILumoString* text);         /**< 2 */
    LUMORESULT (*getAttributeValueByName)(void* me, ILumoString* name, ILumoString* text);  /**< 3 */
    int32_t (*hasAttribute)(void* me, ILumoString* name);                                /**< 4 */
    void (*getName)(void* me, ILumoString* text);                                        /**< 5 */
    const LumoUUID* (*getUUID)(void* me);                                                /**< 6 */
    const LumoUUID* (*getLibraryUUID)(void* me);                                         /**< 7 */
    void (*getLibraryName)(void* me, ILumoString* text);                                 /**< 8 */
    int32_t (*getMethodCount)(void* me);                                                 /**< 9 */
    LUMORESULT (*getMethod)(void* me, int32_t index, ILumoIDLMethod** out);              /**< 10 */
    int32_t (*getTemplateParameterCount)(void* me);                                      /**< 11 */
    LUMORESULT (*getTemplateParameterName)(void* me, int32_t index, ILumoString* text);  /**< 12 */
} ILumoIDLInterfaceVtbl;

/** One interface declaration; borrowed from its library. */
struct ILumoIDLInterface {
    void* me;                          /**< The implementing object. */
    const ILumoIDLInterfaceVtbl* vTbl; /**< Its operations. */
};

/** Operations of one method. */
typedef struct ILumoIDLMethodVtbl {
    int32_t (*getAttributeCount)(void* me);                                              /**< 0 */
    LUMORESULT (*getAttributeName)(void* me, int32_t index, ILumoString* text);          /**< 1 */
    LUMORESULT (*getAttributeValue)(void* me, int32_t index, ILumoString* text);         /**< 2 */
    LUMORESULT (*getAttributeValueByName)(void* me, ILumoString* name, ILumoString* text);  /**< 3 */
    int32_t (*hasAttribute)(void* me, ILumoString* name);                                /**< 4 */
    void (*getName)(void* me, ILumoString* text);                                        /**< 5 */
    void (*getReturnType)(void* me, ILumoIDLType** out);                                 /**< 6 */
    int32_t (*getArgumentCount)(void* me);                                               /**< 7 */
    LUMORESULT (*getArgument)(void* me, int32_t index, ILumoIDLMethodArgument** out);    /**< 8 */
} ILumoIDLMethodVtbl;

/** One method of an interface; borrowed from its library. */
struct ILumoIDLMethod {
    void* me;                       /**< The implementing object. */
    const ILumoIDLMethodVtbl* vTbl; /**< Its operations. */
};

/** Operations of one method argument. */
typedef struct ILumoIDLMethodArgumentVtbl {
    int32_t (*getAttributeCount)(void* me);                                              /**< 0 */
    LUMORESULT (*getAttributeName)(void* me, int32_t index, ILumoString* text);          /**< 1 */
    LUMORESULT (*getAttributeValue)(void* me, int32_t index, ILumoString* text);         /**< 2 */
    LUMORESULT (*getAttributeValueByName)(void* me, ILumoString* name, ILumoString* text);  /**< 3 */
    int32_t (*hasAttribute)(void* me, ILumoString* name);                                /**< 4 */
    ILumoIDLType* (*getType)(void* me);                                                  /**< 5 */
    void (*getName)(void* me, ILumoString* text);                                        /**< 6 */
} ILumoIDLMethodArgumentVtbl;

/** One argument of a method; borrowed from its library. */
struct ILumoIDLMethodArgument {
    void* me;                               /**< The implementing object. */
    const ILumoIDLMethodArgumentVtbl* vTbl; /**< Its operations. */
};

/** Operations of one enumeration. */
typedef struct ILumoIDLEnumerationVtbl {
    int32_t (*getAttributeCount)(void* me);                                              /**< 0 */
    LUMORESULT (*getAttributeName)(void* me, int32_t index, ILumoString* text);          /**< 1 */
    LUMORESULT (*getAttributeValue)(void* me, int32_t index, ILumoString* text);         /**< 2 */
    LUMORESULT (*getAttributeValueByName)(void* me, ILumoString* name, ILumoString* text);  /**< 3 */
    int32_t (*hasAttribute)(void* me, ILumoString* name);                                /**< 4 */
    void (*getName)(void* me, ILumoString* text);                                        /**< 5 */
    const LumoUUID* (*getUUID)(void* me);                                                /**< 6 */
    const LumoUUID* (*getLibraryUUID)(void* me);                                         /**< 7 */
    void (*getLibraryName)(void* me, ILumoString* text);                                 /**< 8 */
    int32_t (*getItemCount)(void* me);                                                   /**< 9 */
    LUMORESULT (*getItemName)(void* me, int32_t index, ILumoString* text);               /**< 10 */
    LUMORESULT (*getItemValue)(void* me, int32_t index, int32_t* value);                 /**< 11 */
    LUMORESULT (*getItemValueByName)(void* me, ILumoString* name, int32_t* value);       /**< 12 */
    int32_t (*hasItem)(void* me, ILumoString* name);                                     /**< 13 */
} ILumoIDLEnumerationVtbl;

/** One enumeration declaration; borrowed from its library. */
struct ILumoIDLEnumeration {
    void* me;                            /**< The implementing object. */
    const ILumoIDLEnumerationVtbl* vTbl; /**< Its operations. */
};

/** Operations of one category ID. */
typedef struct ILumoIDLCategoryIDVtbl {
    int32_t (*getAttributeCount)(void* me);                                              /**< 0 */
    LUMORESULT (*getAttributeName)(void* me, int32_t index, ILumoString* text);          /**< 1 */
    LUMORESULT (*getAttributeValue)(void* me, int32_t index, ILumoString* text);         /**< 2 */
    LUMORESULT (*getAttributeValueByName)(void* me, ILumoString* name, ILumoString* text);  /**< 3 */
    int32_t (*hasAttribute)(void* me, ILumoString* name);                                /**< 4 */
    void (*getName)(void* me, ILumoString* text);                                        /**< 5 */
    const LumoUUID* (*getUUID)(void* me);                                                /**< 6 */
    const LumoUUID* (*getLibraryUUID)(void* me);                                         /**< 7 */
    void (*getLibraryName)(void* me, ILumoString* text);                                 /**< 8 */
} ILumoIDLCategoryIDVtbl;

/** One category ID declaration; borrowed from its library. */
struct ILumoIDLCategoryID {
    void* me;                           /**< The implementing object. */
    const ILumoIDLCategoryIDVtbl* vTbl; /**< Its operations. */
};

/** Operations of one type reference in a method signature. */
typedef struct ILumoIDLTypeVtbl {
    const LumoUUID* (*getUUID)(void* me);                                                /**< 0 */
    void (*getName)(void* me, ILumoString* text);                                        /**< 1 */
    uint32_t (*getKind)(void* me);                                                       /**< 2 */
    int32_t (*getTemplateParameterIndex)(void* me);                                      /**< 3 */
    int32_t (*getTemplateArgumentCount)(void* me);                                       /**< 4 */
    LUMORESULT (*getTemplateArgument)(void* me, int32_t index, ILumoIDLType** out);      /**< 5 */
} ILumoIDLTypeVtbl;

/** One type reference; borrowed from its library. */
struct ILumoIDLType {
    void* me;                     /**< The implementing object. */
    const ILumoIDLTypeVtbl* vTbl; /**< Its operations. */
};

/* Tables only ever grow at the end: these pin the slot counts. */
#define LUMO_CHECK_SLOTS(table, n) \
    LUMO_STATIC_ASSERT(sizeof(table) == (n) * sizeof(void (*)(void)), #table " must have " #n " slots")
LUMO_CHECK_SLOTS(ILumoStringVtbl, 2);
LUMO_CHECK_SLOTS(ILumoStringArrayVtbl, 1);
LUMO_CHECK_SLOTS(ILumoErrorVtbl, 6);
LUMO_CHECK_SLOTS(ILumoIDLParseResultVtbl, 18);
LUMO_CHECK_SLOTS(ILumoIDLLibraryVtbl, 22);
LUMO_CHECK_SLOTS(ILumoIDLInterfaceVtbl, 13);
LUMO_CHECK_SLOTS(ILumoIDLMethodVtbl, 9);
LUMO_CHECK_SLOTS(ILumoIDLMethodArgumentVtbl, 7);
LUMO_CHECK_SLOTS(ILumoIDLEnumerationVtbl, 14);
LUMO_CHECK_SLOTS(ILumoIDLCategoryIDVtbl, 9);
LUMO_CHECK_SLOTS(ILumoIDLTypeVtbl, 6);
LUMO_STATIC_ASSERT(sizeof(LumoUUID) == 16, "LumoUUID is 16 bytes");
LUMO_STATIC_ASSERT(sizeof(LumoChar) == 2, "LumoChar is one UTF-16 unit");
LUMO_STATIC_ASSERT(sizeof(LumoInterface) == 2 * sizeof(void*), "a record is two pointers");

/**
 * Parses and checks the IDL files named by `fileNames`, in order.
 * Returns a new result holding one reference that the caller owns and must release, also when
 * the work failed: the result's error text then says why. Never raises an exception.
 */
LUMO_EXTERN_C LUMO_API ILumoIDLParseResult* LumoIDLParse(ILumoStringArray* fileNames);

/* ---- Typed wrappers: rec->vTbl->op(rec->me, ...) ---- */

#define LUMO_WRAP0(R, I, op) \
    LUMO_INLINE R I##_##op(I* p) { return p->vTbl->op(p->me); }
#define LUMO_WRAP1(R, I, op, A1) \
    LUMO_INLINE R I##_##op(I* p, A1 a1) { return p->vTbl->op(p->me, a1); }
#define LUMO_WRAP2(R, I, op, A1, A2) \
    LUMO_INLINE R I##_##op(I* p, A1 a1, A2 a2) { return p->vTbl->op(p->me, a1, a2); }
#define LUMO_WRAPV0(I, op) \
    LUMO_INLINE void I##_##op(I* p) { p->vTbl->op(p->me); }
#define LUMO_WRAPV1(I, op, A1) \
    LUMO_INLINE void I##_##op(I* p, A1 a1) { p->vTbl->op(p->me, a1); }

#define LUMO_WRAP_ATTRIBUTES(I) \
    LUMO_WRAP0(int32_t, I, getAttributeCount) \
    LUMO_WRAP2(LUMORESULT, I, getAttributeName, int32_t, ILumoString*) \
    LUMO_WRAP2(LUMORESULT, I, getAttributeValue, int32_t, ILumoString*) \
    LUMO_WRAP2(LUMORESULT, I, getAttributeValueByName, ILumoString*, ILumoString*) \
    LUMO_WRAP1(int32_t, I, hasAttribute, ILumoString*)

#define LUMO_WRAP_COLLECTION(I, Count, Get, ByName, ByUUID, Item) \
    LUMO_WRAP0(int32_t, I, Count) \
    LUMO_WRAP2(LUMORESULT, I, Get, int32_t, Item**) \
    LUMO_WRAP2(LUMORESULT, I, ByName, ILumoString*, Item**) \
    LUMO_WRAP2(LUMORESULT, I, ByUUID, const LumoUUID*, Item**)

LUMO_WRAPV0(ILumoIDLParseResult, addReference)
LUMO_WRAPV0(ILumoIDLParseResult, release)
LUMO_WRAP_COLLECTION(ILumoIDLParseResult, getCategoryIDCount, getCategoryID, getCategoryIDByName,
                     getCategoryIDByUUID, ILumoIDLCategoryID)
LUMO_WRAP_COLLECTION(ILumoIDLParseResult, getEnumerationCount, getEnumeration, getEnumerationByName,
                     getEnumerationByUUID, ILumoIDLEnumeration)
LUMO_WRAP_COLLECTION(ILumoIDLParseResult, getInterfaceCount, getInterface, getInterfaceByName,
                     getInterfaceByUUID, ILumoIDLInterface)
LUMO_WRAP0(LumoBool, ILumoIDLParseResult, sortInterfaces)
LUMO_WRAP0(int32_t, ILumoIDLParseResult, getLibraryCount)
LUMO_WRAP2(LUMORESULT, ILumoIDLParseResult, getLibrary, int32_t, ILumoIDLLibrary**)
LUMO_WRAP1(LUMORESULT, ILumoIDLParseResult, getErrorMessage, ILumoString*)

LUMO_WRAPV0(ILumoIDLLibrary, addReference)
LUMO_WRAPV0(ILumoIDLLibrary, release)
LUMO_WRAP_ATTRIBUTES(ILumoIDLLibrary)
LUMO_WRAP_COLLECTION(ILumoIDLLibrary, getCategoryIDCount, getCategoryID, getCategoryIDByName,
                     getCategoryIDByUUID, ILumoIDLCategoryID)
LUMO_WRAP_COLLECTION(ILumoIDLLibrary, getEnumerationCount, getEnumeration, getEnumerationByName,
                     getEnumerationByUUID, ILumoIDLEnumeration)
LUMO_WRAP_COLLECTION(ILumoIDLLibrary, getInterfaceCount, getInterface, getInterfaceByName,
                     getInterfaceByUUID, ILumoIDLInterface)
LUMO_WRAP0(LumoBool, ILumoIDLLibrary, sortInterfaces)
LUMO_WRAPV1(ILumoIDLLibrary, getName, ILumoString*)
LUMO_WRAP0(const LumoUUID*, ILumoIDLLibrary, getUUID)

LUMO_WRAP_ATTRIBUTES(ILumoIDLInterface)
LUMO_WRAPV1(ILumoIDLInterface, getName, ILumoString*)
LUMO_WRAP0(const LumoUUID*, ILumoIDLInterface, getUUID)
LUMO_WRAP0(const LumoUUID*, ILumoIDLInterface, getLibraryUUID)
LUMO_WRAPV1(ILumoIDLInterface, getLibraryName, ILumoString*)
LUMO_WRAP0(int32_t, ILumoIDLInterface, getMethodCount)
LUMO_WRAP2(LUMORESULT, ILumoIDLInterface, getMethod, int32_t, ILumoIDLMethod**)
LUMO_WRAP0(int32_t, ILumoIDLInterface, getTemplateParameterCount)
LUMO_WRAP2(LUMORESULT, ILumoIDLInterface, getTemplateParameterName, int32_t, ILumoString*)

LUMO_WRAP_ATTRIBUTES(ILumoIDLMethod)
LUMO_WRAPV1(ILumoIDLMethod, getName, ILumoString*)
LUMO_WRAPV1(ILumoIDLMethod, getReturnType, ILumoIDLType**)
LUMO_WRAP0(int32_t, ILumoIDLMethod, getArgumentCount)
LUMO_WRAP2(LUMORESULT, ILumoIDLMethod, getArgument, int32_t, ILumoIDLMethodArgument**)

LUMO_WRAP_ATTRIBUTES(ILumoIDLMethodArgument)
LUMO_WRAP0(ILumoIDLType*, ILumoIDLMethodArgument, getType)
LUMO_WRAPV1(ILumoIDLMethodArgument, getName, ILumoString*)

LUMO_WRAP_ATTRIBUTES(ILumoIDLEnumeration)
LUMO_WRAPV1(ILumoIDLEnumeration, getName, ILumoString*)
LUMO_WRAP0(const LumoUUID*, ILumoIDLEnumeration, getUUID)
LUMO_WRAP0(const LumoUUID*, ILumoIDLEnumeration, getLibraryUUID)
LUMO_WRAPV1(ILumoIDLEnumeration, getLibraryName, ILumoString*)
LUMO_WRAP0(int32_t, ILumoIDLEnumeration, getItemCount)
LUMO_WRAP2(LUMORESULT, ILumoIDLEnumeration, getItemName, int32_t, ILumoString*)
LUMO_WRAP2(LUMORESULT, ILumoIDLEnumeration, getItemValue, int32_t, int32_t*)
LUMO_WRAP2(LUMORESULT, ILumoIDLEnumeration, getItemValueByName, ILumoString*, int32_t*)
LUMO_WRAP1(int32_t, ILumoIDLEnumeration, hasItem, ILumoString*)

LUMO_WRAP_ATTRIBUTES(ILumoIDLCategoryID)
LUMO_WRAPV1(ILumoIDLCategoryID, getName, ILumoString*)
LUMO_WRAP0(const LumoUUID*, ILumoIDLCategoryID, getUUID)
LUMO_WRAP0(const LumoUUID*, ILumoIDLCategoryID, getLibraryUUID)
LUMO_WRAPV1(ILumoIDLCategoryID, getLibraryName, ILumoString*)

LUMO_WRAP0(const LumoUUID*, ILumoIDLType, getUUID)
LUMO_WRAPV1(ILumoIDLType, getName, ILumoString*)
LUMO_WRAP0(uint32_t, ILumoIDLType, getKind)
LUMO_WRAP0(int32_t, ILumoIDLType, getTemplateParameterIndex)
LUMO_WRAP0(int32_t, ILumoIDLType, getTemplateArgumentCount)
LUMO_WRAP2(LUMORESULT, ILumoIDLType, getTemplateArgument, int32_t, ILumoIDLType**)

#undef LUMO_WRAP_COLLECTION
#undef LUMO_WRAP_ATTRIBUTES
#undef LUMO_WRAP2
#undef LUMO_WRAPV1
#undef LUMO_WRAPV0
#undef LUMO_WRAP1
#undef LUMO_WRAP0
#undef LUMO_CHECK_SLOTS

#if defined(__cplusplus)
#include <exception>
#include <string>

/** The architecture's own names for the boundary types. */
namespace ZEMRA {
using ::ILumoError;
using ::ILumoString;
using ::ILumoStringArray;
using ::LumoUUID;

/** A UTF-16 text as the boundary carries it. */
using LumoText = std::basic_string<LumoChar>;

/**
 * The exception raised at the host boundary: a string getter whose receiver is null raises it
 * with LUMO_NULL_POINTER, one whose receiver's set fails raises it with that code.
 * Catch it by reference. code() and what() work in every host; error_text() and full_text()
 * are defined in the host kit's errors library, which a C++ host links to call them.
 */
class lumora_error : public std::exception {
public:
    /** Stores `code`; with LUMO_FAILED and an object, takes that object's last error. */
    lumora_error(LUMORESULT code, const LumoInterface* object);
    /** Copies code, texts and error (one more reference on it), not the narrow text. */
    lumora_error(const lumora_error& other);
    lumora_error& operator=(const lumora_error&) = delete;
    /** Releases the error object, if any. */
    ~lumora_error() override;

    /** The error's own text, composed on first use; never throws. */
    const LumoText& error_text() const noexcept;
    /** The text along the chain of causes, composed on first use; never throws. */
    const LumoText& full_text() const noexcept;
    /** full_text() in UTF-8; the buffer lives as long as the exception or the next call. */
    const char* what() const noexcept override;

    /** The result code that was raised. */
    LUMORESULT code() const noexcept { return code_; }
    /** The error object, or null; borrowed from the exception. */
    ILumoError* error() const noexcept { return error_; }

private:
    mutable char* narrowText_ = nullptr;
    ILumoError* error_ = nullptr;
    mutable LumoText ownText_;
    mutable LumoText fullText_;
    LUMORESULT code_;
};

/** Interfaces of the IDL result model. */
namespace IDL {
using ::ILumoIDLCategoryID;
using ::ILumoIDLEnumeration;
using ::ILumoIDLInterface;
using ::ILumoIDLLibrary;
using ::ILumoIDLMethod;
using ::ILumoIDLMethodArgument;
using ::ILumoIDLType;

/** The parser's own interfaces. */
namespace PARSER {
using ::ILumoIDLParseResult;
}  // namespace PARSER
}  // namespace IDL
}  // namespace ZEMRA
#endif /* __cplusplus */

#endif /* LUMOIDL_LUMOIDL_H */
