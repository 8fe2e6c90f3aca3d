#pragma once
// A small root-object and exception layer: run-time class information with
// dynamic creation, and an exception base that is thrown as a heap pointer and
// deleted by whoever catches it. The engine's error class builds on it.
#include <string>

#include <tiffwalker/export.h>

namespace tiffwalker {

class CObject;

struct TIFFWALKER_API CRuntimeClass {
    const char* className;
    const CRuntimeClass* baseClass;
    CObject* (*createObject)();

    CObject* CreateObject() const { return createObject ? createObject() : nullptr; }
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

class TIFFWALKER_API CObject {
public:
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    virtual void Serialize() {}
    virtual void AssertValid() const {}
    virtual void Dump() const {}

    bool IsKindOf(const CRuntimeClass* runtimeClass) const;
    static const CRuntimeClass classCObject;
};

class TIFFWALKER_API CException : public CObject {
public:
    const CRuntimeClass* GetRuntimeClass() const override;
    // Copies a description of the failure into buffer (at most maxLength bytes,
    // NUL included). The base knows nothing of the failure and says so.
    virtual bool GetErrorMessage(char* buffer, unsigned maxLength, unsigned* helpContext = nullptr) const;
    // The text a user is shown for this failure.
    virtual std::string ReportError() const;
    void Delete() { delete this; }

    static const CRuntimeClass classCException;
};

}  // namespace tiffwalker
