#pragma once
// The one exception type of the OOXML engine. Messages are shown to school staff as they
// are, so they are written in Russian (except the Word bookmark message, kept verbatim).

#include <stdexcept>
#include <string>

namespace ooxml {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace ooxml
