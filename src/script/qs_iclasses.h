// Internal: the parts of the "classes" host module kept in files of their own.
#pragma once

#include "core/rtti.h"
#include "core/variant.h"

namespace zavrik {

class TqsScript;
class TqsStream;

// TStream, TMemoryStream, TFileStream and the stream constants.
void qsAddStreamClasses(TqsScript& script);
// TCollectionItem and TCollection.
void qsAddCollectionClasses(TqsScript& script);
// TComponent, with the owned components of hosts that publish them.
void qsAddComponentClass(TqsScript& script);
// TField and TDataSet over the hosts' field and data-set interfaces.
void qsAddDataSetClasses(TqsScript& script);
// The stream a script passed; fails for nil and other objects.
TqsStream& qsStreamArgument(const Variant& value);

}  // namespace zavrik
