// Runs quark-driver on a script in a fresh user folder and reads back what it left behind:
// the state dump, the player's files, the exit status and standard error.
#pragma once

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "app/display.h"   // Default_Display_Size, the window a fresh profile opens
#include "app/state.h"     // ScreenId, as the state dumps write Current_Screen

// An id (a screen, a music track, a menu action) as a state dump writes it.
inline std::string IdText(int id) { return std::to_string(id); }

class DriverSession {
 public:
  DriverSession() {
    char pattern[] = "/tmp/quark-test-XXXXXX";
    Root = mkdtemp(pattern);
    DataHome = Root + "/data";
    UserDir = DataHome + "/qUaRk";
    std::filesystem::create_directories(UserDir);
  }
  ~DriverSession() {
    std::error_code ignored;
    std::filesystem::remove_all(Root, ignored);
  }

  // Runs the script; returns the driver's exit status. "{dir}" in the script stands for the
  // session folder, e.g. "state {dir}/s1".
  int Run(const std::string& script) {
    std::string text = Expand(script);
    std::string script_path = Root + "/script.txt";
    std::ofstream(script_path) << text;
    // A game that hangs fails its test (status 124) instead of holding the whole run up.
    std::string command = "cd " + Root + " && env XDG_DATA_HOME=" + DataHome +
                          " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software timeout -k 10 600 " +
                          QUARK_DRIVER + " " + script_path + " >" + Root + "/stdout.txt 2>" + Root +
                          "/stderr.txt";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The "Name = value" lines of a state dump written with "state {dir}/name".
  std::map<std::string, std::string> State(const std::string& name) const {
    std::map<std::string, std::string> values;
    std::ifstream in(Root + "/" + name);
    for (std::string line; std::getline(in, line);) {
      size_t eq = line.find(" = ");
      if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 3);
    }
    return values;
  }
  int StateInt(const std::string& name, const std::string& key) const {
    auto values = State(name);
    auto it = values.find(key);
    return it == values.end() ? -999999 : std::atoi(it->second.c_str());
  }

  std::string Stderr() const { return ReadFile(Root + "/stderr.txt"); }
  std::string UserFile(const std::string& name) const { return UserDir + "/" + name; }
  bool UserFileExists(const std::string& name) const { return std::filesystem::exists(UserFile(name)); }

  void WriteUserFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(UserFile(name), std::ios::binary) << bytes;
  }
  // A profile that names the exported English file, so the game opens on the main menu.
  void WriteEnglishProfile(const std::string& extra_lines = "") const {
    WriteUserFile("qUaRk_User_Profile.txt", "\"Version\" = \"F1.4.0\"\r\n\"Language\" = \"" +
                                                UserFile("qUaRk_text_EN.txt") + "\"\r\n" + extra_lines);
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::string Root, DataHome, UserDir;

 private:
  std::string Expand(const std::string& script) const {
    std::string out = script;
    for (size_t at = out.find("{dir}"); at != std::string::npos; at = out.find("{dir}", at)) {
      out.replace(at, 5, Root);
      at += Root.size();
    }
    return out;
  }
};
