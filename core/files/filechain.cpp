#include "core/files/filechain.h"

#include "core/files/savefilenames.h"

#include <filesystem>

bool pathTaken(const std::string& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

std::string suffixedName(const std::string& name, int n) {
    if (n <= 1)
        return name;
    const std::size_t base = name.find_last_of('/') + 1; // npos + 1 == 0
    std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot <= base)
        dot = name.size();
    else if (dot > base + 1 && name[dot - 1] == ' ')
        --dot;
    return name.substr(0, dot) + '-' + std::to_string(n) + name.substr(dot);
}

namespace {

std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder == ".")
        return name;
    return folder.ends_with('/') ? folder + name : folder + '/' + name;
}

} // namespace

FileChain::FileChain(std::string askedDataFile, std::string folder)
    : m_strAsked(std::move(askedDataFile)), m_strFolder(std::move(folder)) {}

PairNames FileChain::next(std::int64_t time) {
    const SaveFileNames save = saveFileNames(time);
    if (m_strAsked.empty()) {
        std::string data = inFolder(m_strFolder, save.dataFile);
        std::string text = inFolder(m_strFolder, save.textFile);
        return {[data](int n) { return suffixedName(data, n); },
                [text](int n) { return suffixedName(text, n); }, 1, true, false};
    }
    const std::size_t slash = m_strAsked.find_last_of('/');
    std::string text =
        inFolder(slash == std::string::npos ? std::string() : m_strAsked.substr(0, slash + 1),
                 save.textFile);
    return {[asked = m_strAsked](int n) { return suffixedName(asked, n); },
            [text](int n) { return suffixedName(text, n); }, m_nNextSuffix, false, false};
}

void FileChain::wrote(const WrittenPair& written) {
    ++m_nFiles;
    m_nNextSuffix = written.n + 1;
}
