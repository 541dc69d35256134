#include "services/win32/WinServices.h"

#include <oleauto.h>

#include "win32/Com.h"

namespace quillfern::win32 {

bool ScriptingFolderQuery::FolderExists(const std::wstring& path) {
    CLSID clsid;
    ThrowIfFailed(::CLSIDFromProgID(L"Scripting.FileSystemObject", &clsid),
                  L"Looking up Scripting.FileSystemObject");
    ComPtr<IDispatch> fileSystem;
    ThrowIfFailed(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                     IID_PPV_ARGS(fileSystem.Put())),
                  L"Creating Scripting.FileSystemObject");

    wchar_t method[] = L"FolderExists";
    LPOLESTR names[] = {method};
    DISPID dispid = 0;
    ThrowIfFailed(fileSystem->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid),
                  L"Finding FolderExists");

    const UniqueBstr argumentText(path);
    VARIANTARG argument;
    ::VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = argumentText.Get();
    DISPPARAMS parameters{&argument, nullptr, 1, 0};

    UniqueVariant result;
    ThrowIfFailed(fileSystem->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                     &parameters, result.Get(), nullptr, nullptr),
                  L"Calling FolderExists");
    // Any nonzero answer counts as true, whatever its type.
    ThrowIfFailed(::VariantChangeType(result.Get(), result.Get(), 0, VT_I4), L"Reading FolderExists");
    return result.Get()->lVal != 0;
}

}  // namespace quillfern::win32
