#pragma once
// State that all interpreters of one pool share with the host: the element
// table, the element whose script runs, the event label, the error log and
// the hooks through which the root supplies language texts and files.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "script/element.h"
#include "script/error_log.h"

namespace lum {

struct IncludeRead {
  std::optional<std::string> text;
  int systemError = 2;  // reported when text is missing
};

struct ScriptEnvironment {
  ElementTable elements;
  ElementRef currentElement = 0;
  ElementRef root = 0;  // the database root that LUMDB names
  std::string eventLabel;
  ErrorLog log;

  // Language text of a key ("KEY" or "SECTION.KEY"); empty when unknown.
  std::function<std::string(std::string_view key)> languageText;
  // Whole contents of a USES or INCLUDE file.
  std::function<IncludeRead(std::string_view name)> readInclude;

  // Safety limits (not part of the language): a concatenation longer than
  // this fails like any other operator failure.
  size_t maxStringLength = size_t{256} << 20;
  // Statements and loop passes one script run may take before it ends with
  // an error (0: no limit), so that an endless loop cannot hang the game.
  static constexpr uint64_t kDefaultStatementBudget = 10'000'000;
  uint64_t statementBudget = kDefaultStatementBudget;
  // Bytes of include files one script may read in all (each inclusion of a
  // file counts again), so that files including each other many times
  // cannot expand a script beyond memory.
  static constexpr size_t kDefaultIncludeBudget = size_t{1} << 20;
  size_t includeBudget = kDefaultIncludeBudget;
  // Bumped whenever a routine or procedure list changes, so that cached
  // decisions "this name is a call" are made again.
  uint64_t registryEpoch = 1;
  // Shared recursion budget of expressions, blocks and calls across all
  // interpreters, so that nested scripts cannot exhaust the native stack.
  int recursionUsed = 0;
  int recursionLimit = 3000;

  ScriptElement* Current() const { return elements.Resolve(currentElement); }
  ScriptElement* RootElement() const;
  // "Id <ClassName>" of the current element, or empty.
  std::string ElementText() const;
  // Writes head + EventLabel as one log line.
  void LogWithContext(const std::string& head) { log.Append(head + eventLabel); }
  std::string LanguageText(std::string_view key) const {
    return languageText ? languageText(key) : std::string();
  }
};

}  // namespace lum
