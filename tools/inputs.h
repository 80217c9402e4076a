// The tool's input files, standard input among them, and the scratch folder that holds copies.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumoidl::tool {

/// A private folder in the system's temporary directory, removed with its contents when the
/// object goes. Throws std::runtime_error when it cannot be created.
class ScratchDir {
public:
    /// Creates the folder.
    ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    /// Removes the folder and everything in it.
    ~ScratchDir();

    /// Writes `bytes` to the file `name` in the folder and returns the file's full path.
    /// Throws std::runtime_error when the file cannot be written.
    std::string write(const std::string& name, std::string_view bytes) const;

private:
    std::filesystem::path dir_;
};

/// The files named on the command line: for each, the name to show the user and the path handed
/// to the library. Standard input ("-") is read at construction into a scratch copy, shown as
/// `<stdin>`. Throws std::runtime_error when standard input cannot be read or copied.
class InputSet {
public:
    /// Takes the file arguments in order; "-" may appear at most once.
    explicit InputSet(const std::vector<std::string>& files);

    /// The number of inputs.
    size_t size() const { return inputs_.size(); }
    /// The name of input `index` as the user knows it: the argument, or `<stdin>`.
    const std::string& displayName(size_t index) const { return inputs_[index].display; }
    /// The path of input `index` as handed to the library.
    const std::string& libraryPath(size_t index) const { return inputs_[index].path; }
    /// The paths to hand to the library, in order.
    std::vector<std::string> libraryPaths() const;
    /// The names to show the user, in order.
    std::vector<std::string> displayNames() const;
    /// The bytes of input `index`, read on first use; for standard input, what was read.
    /// No value when the file cannot be read.
    std::optional<std::string_view> bytes(size_t index) const;
    /// `message` with every quoted scratch path ("/tmp/.../stdin.idl") replaced by the quoted
    /// display name ("<stdin>").
    std::string toDisplay(std::string message) const;

private:
    /// One input.
    struct Input {
        std::string display;                        ///< the name shown to the user
        std::string path;                           ///< the path handed to the library
        mutable std::optional<std::string> bytes;   ///< the content, once read
        mutable bool read = false;                  ///< true once reading was tried
    };
    std::unique_ptr<ScratchDir> scratch_;  ///< holds the copy of standard input, when there is one
    std::vector<Input> inputs_;            ///< in command-line order
};

}  // namespace lumoidl::tool
