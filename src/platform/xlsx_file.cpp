#include "platform/xlsx_file.h"

#include "platform/com_ptr.h"

#include <windows.h>

// The packaging API's class and interface ids are defined here: MinGW's uuid library does not hold them.
#include <initguid.h>

#include <msopc.h>
#include <urlmon.h>

#include <limits>

namespace vantrel {
namespace {

WriteFailure FailureOf(HRESULT result) {
    if (HRESULT_FACILITY(result) == FACILITY_WIN32)
        return {static_cast<std::uint32_t>(HRESULT_CODE(result))};
    return {static_cast<std::uint32_t>(result)};
}

WriteFailure LastError() {
    return {static_cast<std::uint32_t>(GetLastError())};
}

HRESULT WriteAll(IStream* stream, const std::string& bytes) {
    if (bytes.size() > std::numeric_limits<ULONG>::max())
        return STG_E_MEDIUMFULL;
    ULONG written = 0;
    const HRESULT result = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    if (FAILED(result))
        return result;
    return written == bytes.size() ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT AddPart(IOpcFactory* factory, IOpcPartSet* partSet, const PackagePart& from, ComPtr<IOpcPart>& part) {
    ComPtr<IOpcPartUri> name;
    HRESULT result = factory->CreatePartUri(from.name.c_str(), name.put());
    if (SUCCEEDED(result))
        result =
            partSet->CreatePart(name.get(), from.contentType.c_str(), OPC_COMPRESSION_NORMAL, part.put());
    ComPtr<IStream> content;
    if (SUCCEEDED(result))
        result = part->GetContentStream(content.put());
    if (SUCCEEDED(result))
        result = WriteAll(content.get(), from.bytes);
    return result;
}

HRESULT AddRelationship(IOpcRelationshipSet* relationships, const PackageRelationship& from) {
    ComPtr<IUri> target;
    HRESULT result = CreateUri(from.target.c_str(), Uri_CREATE_ALLOW_RELATIVE, 0, target.put());
    ComPtr<IOpcRelationship> relationship;
    if (SUCCEEDED(result))
        result = relationships->CreateRelationship(from.id.c_str(), from.type.c_str(), target.get(),
                                                   OPC_URI_TARGET_MODE_INTERNAL, relationship.put());
    return result;
}

// The package in memory, every part compressed as it is added.
HRESULT BuildPackage(IOpcFactory* factory, const WorkbookPackage& workbook, ComPtr<IOpcPackage>& package) {
    HRESULT result = factory->CreatePackage(package.put());
    ComPtr<IOpcPartSet> partSet;
    if (SUCCEEDED(result))
        result = package->GetPartSet(partSet.put());
    std::vector<ComPtr<IOpcPart>> parts(workbook.parts.size());
    for (size_t i = 0; i < parts.size() && SUCCEEDED(result); ++i)
        result = AddPart(factory, partSet.get(), workbook.parts[i], parts[i]);

    for (const PackageRelationship& relationship : workbook.relationships) {
        if (FAILED(result))
            break;
        ComPtr<IOpcRelationshipSet> relationships;
        if (relationship.sourcePart.empty()) {
            result = package->GetRelationshipSet(relationships.put());
        } else {
            result = E_INVALIDARG;
            for (size_t i = 0; i < parts.size(); ++i)
                if (workbook.parts[i].name == relationship.sourcePart)
                    result = parts[i]->GetRelationshipSet(relationships.put());
        }
        if (SUCCEEDED(result))
            result = AddRelationship(relationships.get(), relationship);
    }
    return result;
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
}

// A file made for the new workbook, deleted again unless it is moved into place.
class TemporaryFile {
public:
    ~TemporaryFile() {
        if (!path_.empty())
            DeleteFileW(path_.c_str());
    }
    // A new empty file with a unique name in the folder.
    bool Create(const std::wstring& folder) {
        wchar_t name[MAX_PATH]{};
        if (GetTempFileNameW(folder.c_str(), L"vtx", 0, name) == 0)
            return false;
        path_ = name;
        return true;
    }
    const std::wstring& Path() const { return path_; }
    bool MoveTo(const std::wstring& path) {
        if (MoveFileExW(path_.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) == FALSE)
            return false;
        path_.clear();
        return true;
    }

private:
    std::wstring path_;
};

} // namespace

WriteResult WriteWorkbook(const std::wstring& path, const std::vector<WorkbookSheet>& sheets) {
    ComPtr<IOpcFactory> factory;
    HRESULT result = CoCreateInstance(CLSID_OpcFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IOpcFactory,
                                      factory.put_void());
    ComPtr<IOpcPackage> package;
    if (SUCCEEDED(result))
        result = BuildPackage(factory.get(), BuildWorkbookPackage(sheets), package);
    if (FAILED(result))
        return std::unexpected(FailureOf(result));

    TemporaryFile file;
    if (!file.Create(FolderOf(path)))
        return std::unexpected(LastError());
    {
        ComPtr<IStream> stream; // closes the file when it goes
        result = factory->CreateStreamOnFile(file.Path().c_str(), OPC_STREAM_IO_WRITE, nullptr,
                                             FILE_ATTRIBUTE_NORMAL, stream.put());
        // Zip32 keeps the file readable by every tool that reads .xlsx; a grid never comes near its 4 GB.
        if (SUCCEEDED(result))
            result = factory->WritePackageToStream(package.get(), OPC_WRITE_FORCE_ZIP32, stream.get());
    }
    if (FAILED(result))
        return std::unexpected(FailureOf(result));
    if (!file.MoveTo(path))
        return std::unexpected(LastError());
    return {};
}

} // namespace vantrel
