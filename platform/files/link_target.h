// Where a file really lives when its name is a symbolic link: a player may keep the table in
// another folder (a synchronised one) and leave a link to it beside the game.
#pragma once

#include <string>

// The path the chain of links starting at `path` ends at (relative links taken from their own
// folder); `path` itself when it is no link. A target that does not exist yet is still named.
std::string LinkTarget(const std::string& path);

// The folder a path's file lies in ("." for a bare name) and its name within that folder.
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);
