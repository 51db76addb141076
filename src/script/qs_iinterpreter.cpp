#include "script/qs_iinterpreter.h"

#include <algorithm>

#include "core/rtti.h"
#include "script/qs_iclass.h"
#include "script/qs_ihost.h"
#include "script/qs_iproc.h"
#include "script/qs_isysrtti.h"
#include "script/qs_istatements.h"

namespace zavrik {

const int kqsLibraryTag = 0;

TqsScript::TqsScript(TqsScript* parent) : FParent(parent) {}

TqsScript::~TqsScript() {
  FStatement.reset();
  // Items may refer to each other (a function's Result); destroy newest last-added first.
  FItems.clear();
  FModules.clear();
}

size_t TqsScript::LowerBound(const String& upper) const {
  auto it = std::lower_bound(FItems.begin(), FItems.end(), upper,
                             [](const std::unique_ptr<TqsCustomVariable>& item, const String& key) {
                               return item->FUppercaseName < key;
                             });
  return static_cast<size_t>(it - FItems.begin());
}

TqsCustomVariable& TqsScript::Add(std::unique_ptr<TqsCustomVariable> item) {
  item->FAddedBy = FAddedBy;
  const size_t at = LowerBound(item->FUppercaseName);
  return **FItems.insert(FItems.begin() + static_cast<ptrdiff_t>(at), std::move(item));
}

void TqsScript::Remove(TqsCustomVariable* item) {
  std::erase_if(FItems, [item](const auto& p) { return p.get() == item; });
}

TqsCustomVariable* TqsScript::FindLocal(StringView name) const {
  const String upper = qsUpperName(name);
  const size_t at = LowerBound(upper);
  if (at < FItems.size() && FItems[at]->FUppercaseName == upper) return FItems[at].get();
  return nullptr;
}

TqsCustomVariable* TqsScript::Find(StringView name) const {
  const String upper = qsUpperName(name);
  for (const TqsScript* s = this; s; s = s->FParent) {
    const size_t at = s->LowerBound(upper);
    if (at < s->FItems.size() && s->FItems[at]->FUppercaseName == upper) return s->FItems[at].get();
  }
  return nullptr;
}

TqsClassVariable* TqsScript::FindClass(StringView name) const {
  return dynamic_cast<TqsClassVariable*>(Find(name));
}

TqsVarType TqsScript::TypeKind(StringView type_name) const {
  TqsCustomVariable* item = Find(type_name);
  return item ? item->FTyp : fvtClass;
}

void TqsScript::Clear() {
  FStatement.reset();
  FLastSourcePos = nullptr;
  std::erase_if(FItems, [](const auto& item) { return item->FAddedBy != &kqsLibraryTag; });
  FUnitLines.clear();
  ErrorMsg.clear();
  ErrorPos.clear();
  ErrorUnit.clear();
}

void TqsScript::RemoveItems(const void* owner) {
  std::erase_if(FItems, [owner](const auto& item) { return item->FAddedBy == owner; });
}

void TqsScript::ClearItems(const void* owner) {
  // Compiled code refers to the items: it goes first.
  FStatement.reset();
  FLastSourcePos = nullptr;
  RemoveItems(owner);
  FUnitLines.clear();
}

void TqsScript::AddRTTI() {
  if (FRTTIAdded) return;
  FRTTIAdded = true;
  const void* saved = FAddedBy;
  FAddedBy = &kqsLibraryTag;
  for (const TqsRTTIModuleFactory& factory : qsRTTIModules()) FModules.push_back(factory(*this));
  FAddedBy = saved;
}

void TqsScript::ClearRTTI() {
  FModules.clear();
  RemoveItems(&kqsLibraryTag);
  FRTTIAdded = false;
}

void TqsScript::SetText(StringView text) {
  FLines.clear();
  String line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      FLines.push_back(std::move(line));
      line.clear();
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) FLines.push_back(std::move(line));
}

String TqsScript::Text() const {
  String text;
  for (const String& line : FLines) {
    text += line;
    text += u"\r\n";
  }
  return text;
}

TqsScript* TqsScript::MainProgram() {
  TqsScript* s = this;
  while (!s->FMainProg && s->FParent) s = s->FParent;
  return s;
}

const TqsRunLineEvent* TqsScript::RunLineHandler() const {
  for (const TqsScript* s = this; s; s = s->FParent) {
    if (s->FOnRunLine) return &s->FOnRunLine;
  }
  return nullptr;
}

void TqsScript::AdoptObject(std::unique_ptr<Object> object) {
  FCreatedObjects.push_back(std::move(object));
}

bool TqsScript::FreeObject(Object* object) {
  for (TqsScript* s = this; s; s = s->FParent) {
    auto it = std::find_if(s->FCreatedObjects.begin(), s->FCreatedObjects.end(),
                           [object](const auto& p) { return p.get() == object; });
    if (it != s->FCreatedObjects.end()) {
      if (auto* freed = dynamic_cast<TqsScriptFreed*>(object)) freed->ScriptFreed();
      s->FFreedObjects.push_back(std::move(*it));
      s->FCreatedObjects.erase(it);
      return true;
    }
  }
  return false;
}

std::unique_ptr<Object> TqsScript::ReleaseObject(Object* object) {
  for (TqsScript* s = this; s; s = s->FParent) {
    auto it = std::find_if(s->FCreatedObjects.begin(), s->FCreatedObjects.end(),
                           [object](const auto& p) { return p.get() == object; });
    if (it != s->FCreatedObjects.end()) {
      std::unique_ptr<Object> released = std::move(*it);
      s->FCreatedObjects.erase(it);
      return released;
    }
  }
  return nullptr;
}

bool TqsScript::IsFreedObject(const Object* object) const {
  for (const TqsScript* s = this; s; s = s->FParent) {
    for (const auto& freed : s->FFreedObjects) {
      if (freed.get() == object) return true;
    }
  }
  return false;
}

}  // namespace zavrik
