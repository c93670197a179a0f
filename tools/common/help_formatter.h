// SPDX-License-Identifier: MIT
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

namespace kestrova::cli {

// Help lines that show an option's value as its name alone ("--port N"): the ranges and the
// options it needs or excludes are said in its description, in words.
class HelpFormatter : public CLI::Formatter {
  public:
    std::string make_option_opts(const CLI::Option* option) const override {
        const std::string type = option->get_type_name();
        return type.empty() ? std::string() : " " + type.substr(0, type.find(':'));
    }
};

// Gives `app` that layout, a help column wide enough for the longest option, and --version.
inline void setUpHelp(CLI::App& app, const std::string& version) {
    constexpr std::size_t kOptionColumn = 22;
    auto formatter = std::make_shared<HelpFormatter>();
    formatter->column_width(kOptionColumn);
    app.formatter(formatter);
    app.set_version_flag("--version", version, "print the version and exit");
}

}  // namespace kestrova::cli
