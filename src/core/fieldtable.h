#pragma once

// The 54 settings of ServerPrefs.cs in the order they stand in the file. Line N of every
// file that is written or read is field N of this table; nothing else is stored about it.

#include <array>
#include <string_view>

namespace Prefs {

struct Field
{
    int line;          // 1..54, the position in the file
    const char *name;  // objectName of the field's text box
    const char *tag;   // start of the line up to and including the value's opening quote
    const char *label; // caption of the label beside the field
    int tab;           // page 0..5 of the main window
};

inline constexpr int FieldCount = 54;
inline constexpr int TabCount = 6;

// The tags are the game's own, misspellings and missing blanks included: the game reads
// "$Sever::teamName0" and "$server::Master1" exactly so.
inline constexpr std::array<Field, FieldCount> FieldTable = {{
        {1, "SerAdd", "$Server::Address = \"", "Server Adress:", 0},
        {2, "Auto", "$Server::AutoAssignTeams = \"", "Auto Assign Teams", 0},
        {3, "CurMas", "$Server::CurrentMaster =\"", "Current Master", 0},
        {4, "FloodProt", "$Server::FloodProtectionEnabled =\"", "Flood Protection", 0},
        {5, "HostName", "$Server::HostName = \"", "Host Name", 0},
        {6, "HostPubGam", "$Server::HostPublicGame = \"", "Host Public Game", 0},
        {7, "ServInfo", "$Server::Info = \"", "Info", 0},
        {8, "MOTD", "$Server::JoinMOTD = \"", "Message Of The Day", 0},
        {9, "Mas1", "$server::Master1 = \"", "Master 1", 1},
        {10, "Mas2", "$Server::Master2 = \"", "Master 2", 1},
        {11, "MasAdd0", "$Server::MasterAddress0 = \"", "Master Address 0", 1},
        {12, "MasAddN0", "$Server::MasterAddressN0 = \"", "Master Address N0", 1},
        {13, "MasAddN1", "$Server::MasterAddressN1 = \"", "Master Address N1", 1},
        {14, "MasAddN2", "$Server::MasterAddressN2 = \"", "Master Addres N2", 1},
        {15, "MasNam0", "$Server::MasterName0 = \"", "Master Name 0", 1},
        {16, "MasNam1", "$Server::MasterName1 = \"", "Master Name1", 1},
        {17, "MasNam2", "$Server::MasterName2 = \"", "Master Name 2", 1},
        {18, "MaxPlay", "$Server::MaxPlayers = \"", "Max Players", 2},
        {19, "MinVote", "$Server::MinVotes = \"", "Minimum Votes", 2},
        {20, "MinVotePct", "$Server::MinVotesPct = \"", "Minimum Vote % (0 -1)", 2},
        {21, "VoteTime", "$Server::MinVoteTime = \"", "Vote Time (seconds)", 2},
        {22, "NumMas", "$Server::numMasters = \"", "Number of Masters", 2},
        {23, "PortNum", "$Server::Port = \"", "Port", 2},
        {24, "SpawnTime", "$Server::respawnTime = \"", "Respawn Time (seconds)", 2},
        {25, "TeamScale", "$Server::TeamDamageScale = \"", "Team Damage Scale", 2},
        {26, "TeamNam0", "$Sever::teamName0 = \"", "Team 0", 3},
        {27, "TeamNam1", "$Sever::teamName1 = \"", "Team 1", 3},
        {28, "TeamNam2", "$Sever::teamName2 = \"", "Team 2", 3},
        {29, "TeamNam3", "$Sever::teamName3 = \"", "Team 3", 3},
        {30, "TeamNam4", "$Sever::teamName4 = \"", "Team 4", 3},
        {31, "TeamNam5", "$Sever::teamName5 = \"", "Team 5", 3},
        {32, "TeamNam6", "$Sever::teamName6 = \"", "Team 6", 3},
        {33, "TeamNam7", "$Sever::teamName7 = \"", "Team 7", 3},
        {34, "TeamSkin0", "$Server::teamSkin0 = \"", "Team 0", 3},
        {35, "TeamSkin1", "$Server::teamSkin1 = \"", "Team 1", 3},
        {36, "TeamSkin2", "$Server::teamSkin2 = \"", "Team 2", 3},
        {37, "TeamSkin3", "$Server::teamSkin3 = \"", "Team 3", 3},
        {38, "TeamSkin4", "$Server::teamSkin4 = \"", "Team 4", 3},
        {39, "TeamSkin5", "$Server::teamSkin5 = \"", "Team 5", 3},
        {40, "TeamSkin6", "$Server::teamSkin6 = \"", "Team 6", 3},
        {41, "TeamSkin7", "$Server::teamSkin7 = \"", "Team 7", 3},
        {42, "TimeLim", "$Server::timeLimit = \"", "Time Limit", 4},
        {43, "Tourn", "$Server::TourneyMode = \"", "Tournament Mode", 4},
        {44, "AdminMar", "$Server::VoteAdminWinMargin = \"", "Admin Vote Margin", 4},
        {45, "FailTime", "$Server::VoteFailTime = \"", "Vote Fail Time", 4},
        {46, "VoteMar", "$Server::VoteWinMargin = \"", "Vote Pass Margin", 4},
        {47, "VotingTime", "$Server::VotingTime = \"", "Voting Time", 4},
        {48, "Warmup", "$Server::warmupTime = \"", "Warmup Time", 4},
        {49, "XLM1", "$Server::XLMaster1 = \"", "XL Master 1", 5},
        {50, "XLM2", "$Server::XLMaster2 = \"", "XL Master 2", 5},
        {51, "XLMN0", "$Server::XLMasterN0 = \"", "XL Master N0", 5},
        {52, "XLMN1", "$Server::XLMasterN1 = \"", "XL Master N1", 5},
        {53, "XLMN2", "$Server::XLMasterN2 = \"", "XL Master N2", 5},
        {54, "LastMis", "$pref::LastMission = \"", "Last Mission Played", 5},
}};

// Field N stands at line N: a save writes the settings as lines 1 to 54 in table order.
constexpr bool linesInTableOrder()
{
    for (int index = 0; index < FieldCount; ++index) {
        if (FieldTable[index].line != index + 1)
            return false;
    }
    return true;
}
static_assert(linesInTableOrder());

// Index into FieldTable of the field with this objectName, or -1.
constexpr int fieldIndex(std::string_view name)
{
    for (int index = 0; index < FieldCount; ++index) {
        if (FieldTable[index].name == name)
            return index;
    }
    return -1;
}

// The game's variable that a field sets, as its tag names it without "$" and " = \"", such
// as "Server::HostName".
constexpr std::string_view variableName(const Field &field)
{
    const std::string_view tag(field.tag);
    return tag.substr(1, tag.find_first_of(" =") - 1);
}

// The team page, whose eight skin fields have the "..." buttons beside them.
inline constexpr int TeamPage = 3;
inline constexpr int FirstSkinField = fieldIndex("TeamSkin0");
inline constexpr int SkinRowCount = 8;
static_assert(FieldTable[FirstSkinField + SkinRowCount - 1].name == std::string_view("TeamSkin7"));
static_assert(FieldTable[FirstSkinField].tab == TeamPage
              && FieldTable[FirstSkinField + SkinRowCount - 1].tab == TeamPage);

} // namespace Prefs
