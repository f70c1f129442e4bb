// The help file as built: every topic the dialogs open is in it, every help id
// of a dialog's table has its pop-up text, and every page's links and pictures resolve.
#include "dialog/PSMorvessanHelpIds.h"
#include "dialog/PSMorvessanManagePresetsModel.h"
#include "dialog/PSMorvessanPluginDialogModel.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include <unistd.h>

using namespace morvessan;
namespace fs = std::filesystem;

namespace {

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class HelpFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* help = std::getenv("MORVESSAN_HELP_FILE");
        const char* extract = std::getenv("MORVESSAN_EXTRACT_CHM");
        ASSERT_TRUE(help && extract) << "run through ctest, which names the help file and the reader";
        // Beside the help file, so builds in other folders do not share it, and one
        // per process, since ctest runs each test in a process of its own at once.
        s_folder = fs::path(help).parent_path() / ("help-extracted-" + std::to_string(getpid()));
        fs::remove_all(s_folder);
        const std::string command =
            std::string("\"") + extract + "\" \"" + help + "\" \"" + s_folder.string() + "\" > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    static void TearDownTestSuite() { fs::remove_all(s_folder); }

    // A topic as the code names it ("::/Text/X.txt") inside the extracted file.
    static fs::path topicPath(const std::string& topic) { return s_folder / topic.substr(3); }

    static inline fs::path s_folder;
};

} // namespace

TEST_F(HelpFile, HoldsEveryTopicTheDialogsOpen) {
    std::set<std::string> topics = {
        PSMorvessanPluginDialogModel::kWelcomeTopic, PSMorvessanManagePresetsModel::kHelpTopic,
        PSMorvessanManagePresetsModel::kPopupTopic, PSMorvessanManagePresetsModel::kSubmissionTopic,
        PSMorvessanManagePresetsModel::kNamePopupTopic};
    for (auto page :
         {PSMorvessanHelpPage::MainDialog, PSMorvessanHelpPage::PresetPage, PSMorvessanHelpPage::CustomisePage,
          PSMorvessanHelpPage::Elements, PSMorvessanHelpPage::Colours}) {
        topics.insert(helpTopic(page));
    }
    EXPECT_EQ(topics.size(), 10u);
    for (const std::string& topic : topics) {
        ASSERT_EQ(topic.rfind("::/", 0), 0u) << topic;
        EXPECT_TRUE(fs::is_regular_file(topicPath(topic))) << topic << " is not in the help file";
        EXPECT_NE(helpTable(topic) != nullptr, topic.ends_with(".htm")) << topic << ": pop-up texts need a table";
    }
}

TEST_F(HelpFile, EveryHelpIdOfATableHasItsPopUpText) {
    for (const PSMorvessanHelpTable& table : helpTables()) {
        const std::string text = readText(topicPath(table.topic));
        ASSERT_FALSE(text.empty()) << table.topic;
        std::set<std::uint32_t> topics;
        const std::regex topicLine(R"(\.topic (\d+)\r?\n([^\r\n]+))");
        for (std::sregex_iterator it(text.begin(), text.end(), topicLine), end; it != end; ++it) {
            EXPECT_TRUE(topics.insert(static_cast<std::uint32_t>(std::stoul((*it)[1]))).second)
                << table.topic << " explains " << (*it)[1] << " twice";
        }
        for (const PSMorvessanHelpId& id : table.ids) {
            EXPECT_TRUE(topics.count(id.help)) << table.topic << " has no text for help id " << id.help;
        }
        EXPECT_EQ(helpIdPairs(table).size(), table.ids.size() * 2 + 2);
    }
}

TEST_F(HelpFile, PagesLinkOnlyToWhatItHolds) {
    int pages = 0;
    const std::regex reference(R"re((?:href|src)="([^"#:]+)")re");
    for (const auto& entry : fs::directory_iterator(s_folder)) {
        if (entry.path().extension() != ".htm") {
            continue;
        }
        ++pages;
        const std::string text = readText(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), reference), end; it != end; ++it) {
            EXPECT_TRUE(fs::is_regular_file(s_folder / (*it)[1].str()))
                << entry.path().filename() << " refers to " << (*it)[1] << ", which the help file lacks";
        }
    }
    EXPECT_GE(pages, 3);
}
