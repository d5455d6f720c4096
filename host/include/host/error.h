// The one exception type of the host library: something a plug-in or its
// description did that a host cannot go on with, or a bad request.
#pragma once

#include <stdexcept>
#include <string>

namespace host {

class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace host
