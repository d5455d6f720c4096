// The version-2 parts of suitehost (see suitehost.cpp for the commands).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/error.h"
#include "host/library.h"

namespace suitehost {

// A request the tool cannot carry out as given (exit status 2).
struct V2UsageError : host::HostError {
    using HostError::HostError;
};

// Prints a version-2 library's properties and the pins its processing object
// declares and its GUI object adds; false when they disagree with the
// description.
bool describeV2(const std::shared_ptr<host::Library>& library);

// Creates the library's GUI object as a fresh module, writes the (pin, value)
// settings in order and prints every GUI pin afterwards.
void runV2Gui(const std::string& path, const std::vector<std::pair<std::string, std::string>>& settings);

}  // namespace suitehost
