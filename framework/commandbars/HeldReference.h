// One reference held on a reference-counted object, replaced in place: the new object is referenced before the old
// one is released, so storing the object already held is safe.
#pragma once

template <class T>
void ReplaceHeldReference(T*& held, T* object)
{
    if (object)
        object->InternalAddRef();
    if (held)
        held->InternalRelease();
    held = object;
}
