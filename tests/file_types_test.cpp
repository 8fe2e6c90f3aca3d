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

using Words = std::set<std::string>;

std::string fileText(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Every first group of pattern's matches in text, split at separator.
Words found(const std::string& text, const std::string& pattern, char separator = '\0') {
    Words all;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it) {
        std::istringstream parts((*it)[1].str());
        for (std::string part; std::getline(parts, part, separator);) {
            if (!part.empty()) all.insert(part);
        }
    }
    return all;
}

// The list, read here on its own rather than through the build's reading.
struct TheList {
    Words names, endings, mimeTypes;
    TheList() {
        const std::string text = fileText(FRAMETALLY_SOURCE_DIR "/readout/file_types.txt");
        names = found(text, R"(\ntype\s*\|\s*(\S+))");
        endings = found(text, R"(\ntype\s*\|[^|]*\|\s*([^|]*?)\s*\|)", ' ');
        mimeTypes = found(text, R"(\ntype\s*\|[^|]*\|[^|]*\|\s*([^\n]*?)\s*(?=\n))", ' ');
    }
};

}  // namespace

TEST(FileTypes, EveryCopyNamesExactlyTheList) {
    const TheList list;
    ASSERT_GE(list.endings.size(), 10u);
    const std::vector<std::string> compiled = frametally::fileExtensions();
    EXPECT_EQ(Words(compiled.begin(), compiled.end()), list.endings) << "the C++ table";

    const std::string copies = FRAMETALLY_BINARY_DIR "/file_types/";
    EXPECT_EQ(found(fileText(copies + "tiffwalker.bash"), R"(\*\.@\(([^)]*)\))", '|'), list.endings);
    EXPECT_EQ(found(fileText(copies + "file_types.nsh"), R"re(\$\{MACRO\} "\.(\w+)")re"), list.endings);
    EXPECT_EQ(found(fileText(copies + "tiffwalker.1"), R"(\n\.BR? \.(\w+))"), list.endings) << "the manual page";
    // The page takes the module the build stages; the copy beside its
    // sources, which node's tests import, must be the same.
    const std::string module = fileText(copies + "file-types.js");
    EXPECT_EQ(fileText(FRAMETALLY_SOURCE_DIR "/web/site/file-types.js"), module)
        << "copy " << copies << "file-types.js over web/site/file-types.js";
    Words accept = list.mimeTypes;
    for (const std::string& ending : list.endings) accept.insert("." + ending);
    EXPECT_EQ(found(module, R"(FILE_ACCEPT = '([^']*)')", ','), accept) << "the page's accept attribute";
    Words moduleEndings;
    for (const std::string& quoted : found(module, R"(FILE_EXTENSIONS = \[([^\]]*)\])", ','))
        moduleEndings.insert(quoted.substr(quoted.find('\'') + 1, quoted.rfind('\'') - quoted.find('\'') - 1));
    EXPECT_EQ(moduleEndings, list.endings) << "the page's module";

    const std::string desktop = fileText(FRAMETALLY_BINARY_DIR "/app/org.imagewright.frametally.desktop");
    const std::string metainfo = fileText(FRAMETALLY_BINARY_DIR "/app/org.imagewright.frametally.metainfo.xml");
    if (desktop.empty() || metainfo.empty()) GTEST_SKIP() << "no desktop entry in a build without the dialog";
    EXPECT_EQ(found(desktop, R"(MimeType=([^\n]*))", ';'), list.mimeTypes);
    EXPECT_EQ(found(metainfo, R"(<mediatype>([^<]*)</mediatype>)"), list.mimeTypes);
}

TEST(FileTypes, HelpAboutTextsAndReadmeNameEveryTypeAndMaker) {
    const TheList list;
    const std::string help = testing_support::runTiffwalker({"--help"}).out;
    const std::string readme = fileText(FRAMETALLY_SOURCE_DIR "/README.md");
    const std::string readmeTypes = readme.substr(readme.find("File types read:"), 400);
    for (const std::string& ending : list.endings) EXPECT_NE(help.find("." + ending), std::string::npos) << ending;
    for (const std::string& name : list.names) {
        EXPECT_NE(frametally::readsText().find(name), std::string::npos) << name;
        EXPECT_NE(readmeTypes.find(name), std::string::npos) << "README.md's file types: " << name;
    }
    for (const std::string& maker : frametally::countMakers())
        EXPECT_NE(readme.substr(0, readme.find("| maker |")).find(maker), std::string::npos) << maker;
    // The Windows README.txt says it in the build's words: the same sentence.
    EXPECT_EQ(frametally::readsText(), FRAMETALLY_READS_TEXT);
    EXPECT_TRUE(frametally::isReadFileName("DSC_0001.NRW") && frametally::isReadFileName("a.HiF"));
    EXPECT_FALSE(frametally::isReadFileName("a.nef.xmp") || frametally::isReadFileName("anef"));
}
