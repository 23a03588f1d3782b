// Reference counting shared by every object of the Direct3D 9 stand-in.
//
// An object has two counts. Public references are the ones the program holds
// through AddRef/Release. Internal references are the ones the device holds
// while the object is bound (render target, texture stage, stream, shader...).
// The object is deleted when both reach zero.
//
// A device child (texture, buffer, shader, state block, ...) holds one public
// reference on its device for as long as it has public references itself. So
// releasing the device first leaves it alive until the last texture, sprite or
// mesh made from it is released; bindings alone never keep the device alive,
// and a device that goes away drops its bindings, deleting what only they held.
#pragma once

#include <string>

#include "platform/d3d9/d3d9.h"

namespace d3d9 {

template <class Interface>
class RefCounted : public Interface {
public:
    HRESULT QueryInterface(REFIID, void** object) override {
        if (object) *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override {
        if (publicRefs++ == 0) FirstPublicRef();
        return publicRefs;
    }
    ULONG Release() override {
        if (publicRefs == 0) return 0;
        ULONG left = --publicRefs;
        if (left == 0) LastPublicRefGone();
        return left;
    }
    virtual void AddInternalRef() { ++internalRefs; }
    virtual void ReleaseInternalRef() {
        if (--internalRefs == 0 && publicRefs == 0) delete this;
    }
    ULONG PublicRefs() const { return publicRefs; }

protected:
    explicit RefCounted(ULONG initialPublicRefs = 1) : publicRefs(initialPublicRefs) {}
    virtual void FirstPublicRef() {}
    virtual void LastPublicRefGone() {
        if (internalRefs == 0) delete this;
    }

    ULONG publicRefs;
    ULONG internalRefs = 0;
};

// Base of every object made by a device. `label` names the object in the
// recording backend's call log ("Texture#3").
template <class Interface>
class DeviceChild : public RefCounted<Interface> {
public:
    IDirect3DDevice9* Owner() const { return device; }
    const std::string& Label() const { return label; }

protected:
    // A child made for the program starts with one public reference (and so
    // holds the device); one the device keeps for itself starts with none.
    DeviceChild(IDirect3DDevice9* owner, std::string name, bool startsPublic)
        : RefCounted<Interface>(startsPublic ? 1 : 0), device(owner), label(std::move(name)) {
        if (startsPublic) device->AddRef();
    }
    void FirstPublicRef() override { device->AddRef(); }
    void LastPublicRefGone() override {
        IDirect3DDevice9* owner = device;
        if (this->internalRefs == 0) delete this;
        owner->Release();
    }

    IDirect3DDevice9* device;
    std::string label;
};

// Holds an internal reference on whatever it points to; used for bindings.
template <class T>
class Binding {
public:
    Binding() = default;
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;
    ~Binding() { Reset(nullptr); }
    void Reset(T* object) {
        if (object == pointer) return;
        if (object) object->AddInternalRef();
        T* old = pointer;
        pointer = object;
        if (old) old->ReleaseInternalRef();
    }
    T* get() const { return pointer; }
    T* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }

private:
    T* pointer = nullptr;
};

}  // namespace d3d9
