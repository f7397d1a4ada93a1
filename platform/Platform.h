#pragma once

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Locks.h"
#include "platform/Processes.h"
#include "platform/Profile.h"
#include "platform/Prompt.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"

namespace claverix::platform {

// The services the portable code uses, handed around as one bundle.
struct Platform {
    Registry& registry;
    Profile& profile;
    FileSystem& files;
    ProcessLauncher& processes;
    Environment& environment;
    Prompt& prompt;
    TextCodec& codec;
    Locks& locks;
};

}  // namespace claverix::platform
