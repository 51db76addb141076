// Printed copies: objects evaluated in one place and recorded in another (cells of vertical bands
// in their master band, the bands of subreports printed on their parent band).
#include "core/error.h"
#include "engine/run/qbx_engine.h"

namespace zavrik {

std::unique_ptr<TqbxComponent> PrintedCopyOf(const TqbxComponent& source) {
  std::unique_ptr<Object> created = source.ClassType().Create();
  auto* copy = dynamic_cast<TqbxComponent*>(created.get());
  if (!copy) throw Error(u"Cannot copy the object " + source.Name());
  created.release();
  std::unique_ptr<TqbxComponent> result(copy);
  result->AssignAll(source);
  // The copy keeps the source's font wherever it is placed.
  result->SetParentFont(false);
  // Each node is recorded against the source's own template object.
  const std::vector<TqbxComponent*> sources = source.AllObjects();
  const std::vector<TqbxComponent*> copies = result->AllObjects();
  auto link = [](TqbxComponent& to, const TqbxComponent& from) {
    to.SetAliasName(from.AliasName());
    to.OriginalComponent = from.OriginalComponent;
    // The source's events ran already; the copy only prints.
    if (auto* component = dynamic_cast<TqbxReportComponent*>(&to)) {
      component->SetOnBeforePrint(String());
      component->SetOnAfterPrint(String());
      component->SetOnAfterData(String());
    }
  };
  link(*result, source);
  for (size_t i = 0; i < sources.size() && i < copies.size(); ++i) link(*copies[i], *sources[i]);
  return result;
}

}  // namespace zavrik
