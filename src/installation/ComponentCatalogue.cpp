#include "ComponentCatalogue.h"

namespace {

constexpr wchar_t kJetEngine[] = L"\\msjet40.dll";

constexpr BaseFolder C = BaseFolder::CommonFiles;
constexpr BaseFolder S = BaseFolder::System;

// Seven files have no registration entry of their own (resource and error
// libraries); four are not compared against the MDAC release (Jet and the
// URL provider, which are versioned apart from it).
constexpr CatalogueEntry kCatalogue[] = {
    {C, L"\\System\\ado\\MSADO15.DLL", false, false},
    {C, L"\\System\\ado\\MSADER15.DLL", true, false},
    {C, L"\\System\\ado\\MSADOR15.DLL", false, false},
    {C, L"\\System\\ado\\MSADRH15.DLL", false, false},
    {C, L"\\System\\ado\\MSADOX.DLL", false, false},
    {C, L"\\System\\ado\\MSADOMD.dll", false, false},
    {C, L"\\System\\ado\\MSJRO.DLL", false, false},
    {C, L"\\System\\MSADC\\MSADCE.DLL", false, false},
    {C, L"\\System\\MSADC\\MSADCER.DLL", true, false},
    {C, L"\\System\\MSADC\\MSADCF.DLL", false, false},
    {C, L"\\System\\MSADC\\MSADCFR.DLL", true, false},
    {C, L"\\System\\MSADC\\MSADCO.DLL", false, false},
    {C, L"\\System\\MSADC\\MSADCOR.DLL", true, false},
    {C, L"\\System\\MSADC\\MSADCS.DLL", true, false},
    {C, L"\\System\\MSADC\\MSADDS.DLL", false, false},
    {C, L"\\System\\MSADC\\MSADDSR.DLL", true, false},
    {C, L"\\System\\MSADC\\MSDAPRST.DLL", false, false},
    {C, L"\\System\\Ole DB\\OLEDB32.DLL", false, false},
    {C, L"\\System\\Ole DB\\MSXACTPS.DLL", false, false},
    {C, L"\\System\\Ole DB\\MSDAENUM.DLL", false, false},
    {C, L"\\System\\Ole DB\\MSDAURL.DLL", false, true},
    {C, L"\\System\\Ole DB\\MSDATT.DLL", false, false},
    {C, L"\\System\\Ole DB\\MSDASQL.DLL", false, false},
    {C, L"\\System\\Ole DB\\MSDAOSP.DLL", false, false},
    {C, L"\\System\\Ole DB\\MSDAORA.DLL", false, false},
    {C, L"\\System\\Ole DB\\MSDAPS.DLL", false, false},
    {C, L"\\System\\Ole DB\\MSDADC.DLL", false, false},
    {C, L"\\System\\Ole DB\\MSDAER.DLL", true, false},
    {S, kJetEngine, false, true},
    {S, L"\\msjtes40.dll", false, true},
    {S, L"\\msjetoledb40.dll", false, true},
};

}  // namespace

std::span<const CatalogueEntry> ComponentCatalogue() { return kCatalogue; }

std::wstring JetEnginePath(const std::wstring& sSystemDir) { return sSystemDir + kJetEngine; }

std::wstring ShownVersion(const std::optional<FileVersion>& version) {
  return version ? VersionText(*version) : kVersionNotRead;
}

std::wstring FileNamePart(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}
