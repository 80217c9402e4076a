// Runs the driver on IDL sources written to scratch files, for tests of the checks.
#pragma once

#include <string>
#include <vector>

#include "result/parser_result.h"
#include "support/fake_host.h"

namespace lumoidl::test {

/// A parse result owned by a test, with the scratch files it was read from.
class ParsedSources {
public:
    /// Writes each source to its own file (a.idl, b.idl, ... in order) and runs the driver
    /// under the process-wide lock on those files, in order.
    explicit ParsedSources(const std::vector<std::string>& sources);
    ParsedSources(const ParsedSources&) = delete;
    ParsedSources& operator=(const ParsedSources&) = delete;
    /// Releases the result.
    ~ParsedSources();

    /// The error text in UTF-8; empty on success.
    std::string error() const;
    /// The path of the k-th file in UTF-8, as it appears in messages.
    std::string file(size_t k) const;
    /// The result.
    ZEMRA::IDL::PARSER::ParserResult& result() const { return *result_; }

private:
    ScratchDir dir_;
    std::vector<std::string> files_;
    ZEMRA::IDL::PARSER::ParserResult* result_ = nullptr;
};

}  // namespace lumoidl::test
