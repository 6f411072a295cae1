#pragma once
// COM on this thread, apartment-threaded as the automation, shell and packaging objects want it, for as long
// as this lives.
#include <objbase.h>

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

} // namespace vantrel
