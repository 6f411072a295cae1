#pragma once
// COM on this thread, apartment-threaded as the automation, shell and packaging objects want it, for as long
// as this lives; and OLE, which drag and drop needs beside it.
#include <objbase.h>
#include <ole2.h>

namespace vantrel {

class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialized_)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};

// OLE on this thread for as long as this lives; drag and drop needs it beside COM.
class OleApartment {
public:
    OleApartment() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleApartment() {
        if (initialized_)
            OleUninitialize();
    }
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;

private:
    bool initialized_;
};

} // namespace vantrel
