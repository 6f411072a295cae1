#pragma once
// When a drop onto the computer list brings no computer, a support case needs to know what the drag source
// offered instead. Only on machines prepared for it: the file "C:\DbgMsg" switches the diagnostics on.
#include <windows.h>

#include <objidl.h>

#include <string>

namespace vantrel {

class Messages;

bool DropDiagnosticsWanted();

// One line per format the data offers: registered formats by name and number, then the standard ones by
// number, each with the beginning of its data; lines joined with CR.
std::wstring DropDiagnostics(IDataObject* data);

// When wanted: asks whether the user wants to see the formats, and shows them on Yes.
void OfferDropDiagnostics(Messages& messages, HWND owner, IDataObject* data);

} // namespace vantrel
