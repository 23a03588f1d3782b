// Releases a reference-counted interface the caller holds and forgets it.
#pragma once

template <class T>
void ReleaseInterface(T*& object) {
    if (object) object->Release();
    object = nullptr;
}
