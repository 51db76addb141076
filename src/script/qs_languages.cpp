#include "script/qs_languages.h"

#include <mutex>

#include "core/error.h"

namespace zavrik {
namespace {

struct Language {
  String name;
  std::string grammar_xml;
  std::shared_ptr<const TqsGrammar> grammar;  // read on first request
};

struct Registry {
  std::mutex mutex;
  std::vector<Language> languages;

  Registry() {
    languages.push_back({u"PascalScript", kPascalScriptGrammar, nullptr});
    languages.push_back({u"C++Script", kCppScriptGrammar, nullptr});
    languages.push_back({u"BasicScript", kBasicScriptGrammar, nullptr});
    languages.push_back({u"JScript", kJScriptGrammar, nullptr});
  }

  Language& Get(StringView name) {
    for (Language& language : languages) {
      if (SameTextAscii(language.name, name)) return language;
    }
    throw Error(u"Language '" + String(name) + u"' not found");
  }
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void qsRegisterLanguage(StringView name, std::string grammar_xml) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  for (Language& language : registry.languages) {
    if (SameTextAscii(language.name, name)) {
      language.grammar_xml = std::move(grammar_xml);
      language.grammar.reset();
      return;
    }
  }
  registry.languages.push_back({String(name), std::move(grammar_xml), nullptr});
}

std::string qsGetLanguage(StringView name) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  return registry.Get(name).grammar_xml;
}

std::vector<String> qsGetLanguageList() {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  std::vector<String> names;
  for (const Language& language : registry.languages) {
    if (language.name.empty() || language.name[0] != u'@') names.push_back(language.name);
  }
  return names;
}

std::shared_ptr<const TqsGrammar> qsGetGrammar(StringView name) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  Language& language = registry.Get(name);
  if (!language.grammar) language.grammar = std::make_shared<const TqsGrammar>(language.grammar_xml);
  return language.grammar;
}

}  // namespace zavrik
