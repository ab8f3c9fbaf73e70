#pragma once

#include <irrlicht/irrlicht.h>

#include <memory>

// One reference of a reference-counted object, dropped when its holder goes: at the end of the
// scope, and also when a fatal report unwinds through it (as it does under the test and fuzz
// hosts, which keep running after one).
struct DropReference {
    void operator()(irr::IReferenceCounted* object) const { object->drop(); }
};
template <class T>
using HeldReference = std::unique_ptr<T, DropReference>;
