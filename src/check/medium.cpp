#include "check/medium.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

#include "check/text_encoding.h"

namespace setup32::check {
namespace fs = std::filesystem;

namespace {

bool CanRead(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    char byte;
    return file && (file.read(&byte, 1) || file.eof());
}

// A path of the medium as Windows writes it.
std::string Quoted(const fs::path& path) {
    std::string text = path.generic_string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return "\"" + text + "\"";
}

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x80; });
}

// `relative` with each part in code page `codePage`; a part that has no
// bytes there stays as it is, and when that is the last part, `unconverted`
// says so (a folder's own entry says it for the folder).
fs::path InCodePage(const fs::path& relative, unsigned codePage,
                    std::vector<std::string>& unconverted) {
    fs::path converted;
    for (auto part = relative.begin(); part != relative.end(); ++part) {
        const std::string name = part->string();
        const std::optional<std::string> bytes = IsAscii(name) ? name : FromUtf8(name, codePage);
        converted /= bytes.value_or(name);
        if (!bytes && std::next(part) == relative.end()) {
            const std::string shown = LooksLikeUtf8(name) ? relative.generic_string()
                                                          : ToUtf8(relative.generic_string(), 1252);
            unconverted.push_back(Quoted(shown) + " has no name in code page " +
                                  std::to_string(codePage) +
                                  ": copied with the host's name, which the script may not find");
        }
    }
    return converted;
}

// Files and directories below `root`; the reason for each one left out.
void Walk(const fs::path& root, MediumListing& listing) {
    std::error_code error;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const fs::path relative = it->path().lexically_relative(root);
        std::error_code statError;
        const fs::file_status status = fs::status(it->path(), statError);
        if (it->is_symlink(statError) && fs::is_directory(status)) {
            listing.problems.push_back(Quoted(relative) +
                                       " is a link to a directory: left out of the check");
        } else if (fs::is_directory(status)) {
            listing.directories.push_back(relative);
        } else if (!fs::is_regular_file(status)) {
            listing.problems.push_back(Quoted(relative) +
                                       " is not a file that can be copied: left out of the check");
        } else if (!CanRead(it->path())) {
            listing.problems.push_back(Quoted(relative) + " cannot be read: left out of the check");
        } else {
            listing.files.push_back(relative);
            const std::uintmax_t size = fs::file_size(it->path(), statError);
            if (!statError) listing.bytes += size;
        }
    }
    if (error)
        listing.problems.push_back("the medium could not be read to its end: " + error.message());
}

}  // namespace

bool ListMedium(const fs::path& root, MediumListing& listing, std::string& whyNot) {
    std::error_code error;
    const fs::file_status status = fs::status(root, error);
    if (!fs::exists(status)) {
        whyNot = Quoted(root) + " does not exist";
        return false;
    }
    if (!fs::is_directory(status)) {
        whyNot = Quoted(root) + " is not a directory: give the folder that holds SETUP32.INI";
        return false;
    }
    fs::directory_iterator probe(root, error);
    if (error) {
        whyNot = Quoted(root) + " cannot be read: " + error.message();
        return false;
    }
    listing.root = root;
    Walk(root, listing);
    return true;
}

bool CopyMedium(const MediumListing& listing, const fs::path& destination, unsigned codePage,
                std::vector<std::string>& unconverted, std::string& whyNot) {
    std::error_code error;
    fs::create_directories(destination, error);
    for (const fs::path& directory : listing.directories) {
        if (error) break;
        fs::create_directories(destination / InCodePage(directory, codePage, unconverted), error);
    }
    for (const fs::path& file : listing.files) {
        if (error) break;
        fs::copy_file(listing.root / file, destination / InCodePage(file, codePage, unconverted),
                      fs::copy_options::overwrite_existing, error);
    }
    if (error) whyNot = "the medium could not be copied for the check: " + error.message();
    return !error;
}

}  // namespace setup32::check
