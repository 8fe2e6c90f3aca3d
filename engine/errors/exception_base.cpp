#include <tiffwalker/exception_base.h>

#include <cstring>

namespace tiffwalker {

const CRuntimeClass CObject::classCObject{"CObject", nullptr, nullptr};
const CRuntimeClass CException::classCException{"CException", &CObject::classCObject, nullptr};

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* current = this; current != nullptr; current = current->baseClass) {
        if (current == base) return true;
    }
    return false;
}

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

bool CObject::IsKindOf(const CRuntimeClass* runtimeClass) const {
    return GetRuntimeClass()->IsDerivedFrom(runtimeClass);
}

const CRuntimeClass* CException::GetRuntimeClass() const { return &classCException; }

bool CException::GetErrorMessage(char* buffer, unsigned maxLength, unsigned* helpContext) const {
    if (helpContext != nullptr) *helpContext = 0;
    if (buffer != nullptr && maxLength > 0) buffer[0] = '\0';
    return false;
}

std::string CException::ReportError() const {
    char message[512];
    if (GetErrorMessage(message, sizeof message)) return message;
    return "An unsupported operation was attempted.";
}

}  // namespace tiffwalker
