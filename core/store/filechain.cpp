#include "core/store/filechain.h"

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

FileChain::FileChain(std::string askedDataFile, std::string folder, Taken taken)
    : m_strAsked(std::move(askedDataFile)), m_strFolder(std::move(folder)),
      m_taken(std::move(taken)) {}

std::string FileChain::inFolder(const std::string& folder, const std::string& name) const {
    if (folder.empty() || folder == ".")
        return name;
    return folder.ends_with('/') ? folder + name : folder + '/' + name;
}

std::string FileChain::firstFree(const std::string& name, int& n) const {
    while (m_taken(suffixedName(name, n)))
        ++n;
    return suffixedName(name, n);
}

ChainFileNames FileChain::next(std::int64_t time) {
    ++m_nFiles;
    const SaveFileNames save = saveFileNames(time);
    ChainFileNames names;
    if (m_strAsked.empty()) {
        // Both names of the pair carry the same suffix.
        const std::string data = inFolder(m_strFolder, save.dataFile);
        const std::string text = inFolder(m_strFolder, save.textFile);
        int n = 1;
        while (m_taken(suffixedName(data, n)) || m_taken(suffixedName(text, n)))
            ++n;
        return {suffixedName(data, n), suffixedName(text, n)};
    }
    if (m_nFiles == 1) {
        names.dataFile = m_strAsked; // asked for: replaced as Save replaces it
    } else {
        names.dataFile = firstFree(m_strAsked, m_nNextSuffix);
        ++m_nNextSuffix;
    }
    const std::size_t slash = names.dataFile.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : names.dataFile.substr(0, slash + 1);
    int n = 1;
    names.textFile = firstFree(inFolder(folder, save.textFile), n);
    return names;
}
