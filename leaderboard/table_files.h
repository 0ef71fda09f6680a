// What the world's table needs beside its HTML: the game's font, an icon and robots.txt.
#pragma once

#include <string>

namespace httplib {
class Server;
}

// Where the table's pages find the game's font.
constexpr char kTableFontPath[] = "/font/table.otf";

// `site` is the browser build's folder (its icon stands for the table too); "" when none.
void ServeTableFiles(httplib::Server& http, const std::string& site);
