// Chooses the class of an attribute object by its type code and, for types
// that can be either, by its non-resident flag.
#pragma once
#include "ntfs/attr_base.h"
#include "platform/byte_span.h"

class CFileRecord;

// The new object, or none when the header is damaged: too short for its
// kind, a resident value outside the attribute, or a non-resident flag on a
// type that is always resident (and the reverse).
CAttrBase* CreateAttribute(platform::ByteSpan attribute, CFileRecord& owner);
