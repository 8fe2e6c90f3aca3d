// The one list of file types read, and every copy the build makes of it: each
// must name exactly the list's file-name endings (or media types).
#include "file_types.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "test_support.h"

namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct TheList {
    std::set<std::string> endings;
    std::set<std::string> mimeTypes;
    std::set<std::string> names;
};

// Read here on its own, not through the build's reading of it.
TheList theList() {
    TheList list;
    std::istringstream lines(fileText(FRAMETALLY_SOURCE_DIR "/readout/file_types.txt"));
    const std::regex row(R"(^type\s*\|\s*(\S+)\s*\|([^|]*)\|(.*)$)");
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (!std::regex_match(line, match, row)) continue;
        list.names.insert(match[1]);
        std::istringstream endings(match[2].str()), types(match[3].str());
        for (std::string word; endings >> word;) list.endings.insert(word);
        for (std::string word; types >> word;) list.mimeTypes.insert(word);
    }
    return list;
}

// Every first group of pattern's matches in text.
std::set<std::string> found(const std::string& text, const std::string& pattern) {
    std::set<std::string> all;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it) {
        all.insert((*it)[1]);
    }
    return all;
}

std::set<std::string> split(const std::string& text, char separator) {
    std::set<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        if (!part.empty()) parts.insert(part);
    }
    return parts;
}

}  // namespace

TEST(FileTypes, EveryCopyNamesExactlyTheList) {
    const TheList list = theList();
    ASSERT_GE(list.endings.size(), 10u);
    const std::vector<std::string> compiled = frametally::fileExtensions();
    EXPECT_EQ(std::set<std::string>(compiled.begin(), compiled.end()), list.endings) << "the C++ table";

    const std::string copies = FRAMETALLY_BINARY_DIR "/file_types/";
    const std::string completion = fileText(copies + "tiffwalker.bash");
    const std::smatch pattern = [&] {
        std::smatch m;
        std::regex_search(completion, m, std::regex(R"(\*\.@\(([^)]*)\))"));
        return m;
    }();
    ASSERT_FALSE(pattern.empty());
    EXPECT_EQ(split(pattern[1], '|'), list.endings) << "the bash completion";

    const std::string nsh = fileText(copies + "file_types.nsh");
    EXPECT_EQ(found(nsh, R"re(\$\{MACRO\} "\.(\w+)")re"), list.endings) << "the installer's Open with";

    // The page takes the module the build stages; the copy beside its
    // sources, which node's tests import, must be the same.
    const std::string module = fileText(copies + "file-types.js");
    EXPECT_EQ(fileText(FRAMETALLY_SOURCE_DIR "/web/site/file-types.js"), module)
        << "web/site/file-types.js: copy " << copies << "file-types.js over it";
    const std::string extensionsLine = module.substr(module.find("FILE_EXTENSIONS"));
    EXPECT_EQ(found(extensionsLine.substr(0, extensionsLine.find('\n')), R"('(\w+)')"), list.endings);
    const std::string acceptLine = module.substr(module.find("FILE_ACCEPT"));
    std::set<std::string> accept = split(found(acceptLine, R"('([^']*)')").begin()->c_str(), ',');
    std::set<std::string> expectedAccept = list.mimeTypes;
    for (const std::string& ending : list.endings) expectedAccept.insert("." + ending);
    EXPECT_EQ(accept, expectedAccept) << "the page's accept attribute";

    const std::string desktop = fileText(FRAMETALLY_BINARY_DIR "/app/org.imagewright.frametally.desktop");
    const std::string metainfo = fileText(FRAMETALLY_BINARY_DIR "/app/org.imagewright.frametally.metainfo.xml");
    if (desktop.empty() || metainfo.empty()) {
        GTEST_SKIP() << "no desktop entry in a build without the dialog";
    }
    EXPECT_EQ(split(found(desktop, R"(MimeType=([^\n]*))").begin()->c_str(), ';'), list.mimeTypes);
    EXPECT_EQ(found(metainfo, R"(<mediatype>([^<]*)</mediatype>)"), list.mimeTypes);
}

TEST(FileTypes, HelpAboutTextsAndReadmeNameEveryTypeAndMaker) {
    const TheList list = theList();
    const auto help = testing_support::runTiffwalker({"--help"});
    const std::string readme = fileText(FRAMETALLY_SOURCE_DIR "/README.md");
    const std::string readmeTypes = readme.substr(readme.find("File types read:"), 400);
    for (const std::string& ending : list.endings) EXPECT_NE(help.out.find("." + ending), std::string::npos) << ending;
    for (const std::string& name : list.names) {
        EXPECT_NE(frametally::readsText().find(name), std::string::npos) << name;
        EXPECT_NE(readmeTypes.find(name), std::string::npos) << "README.md's file types: " << name;
    }
    for (const std::string& maker : frametally::countMakers()) {
        EXPECT_NE(readme.substr(0, readme.find("| maker |")).find(maker), std::string::npos) << maker;
    }
    // The Windows README.txt says it in the build's words: the same sentence.
    EXPECT_EQ(frametally::readsText(), FRAMETALLY_READS_TEXT);
    EXPECT_TRUE(frametally::isReadFileName("DSC_0001.NRW") && frametally::isReadFileName("a.HiF"));
    EXPECT_FALSE(frametally::isReadFileName("a.nef.xmp") || frametally::isReadFileName("anef"));
}
