#pragma once

#include <memory>
#include <string>

#include "platform/Registry.h"

namespace claverix::platform::win32 {

// Buffers for names and data, shared by every key the registry opens: a key
// hands out copies, so that one opened next may use them at once, and
// buffers grown once serve every later key.
struct RegistryBuffers;

// The live registry through the wide functions, in the 64-bit view that the
// system's registry editor writes to.
class Win32Registry final : public Registry {
public:
    explicit Win32Registry(RegistryView view = RegistryView::Bits64);
    ~Win32Registry() override;

    RegistryView View() const override { return view_; }
    OpenedKey Open(RootKey root, std::string_view path) override;

private:
    RegistryView view_;
    std::shared_ptr<RegistryBuffers> buffers_;
    std::wstring path_;
};

}  // namespace claverix::platform::win32
