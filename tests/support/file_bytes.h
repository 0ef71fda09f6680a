// Whole files as bytes or as text: what a test writes for the game to read, and what it reads
// back of what the game or a tool wrote. A missing file reads as empty.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

Bytes FileBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);

std::string FileText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);
// `text` with each of its lines as `change` gives it back ("" drops the line).
std::string EachLineChanged(const std::string& text,
                            const std::function<std::string(const std::string&)>& change);
// The file's text line by line, without the line ends.
std::vector<std::string> FileLines(const std::filesystem::path& path);
