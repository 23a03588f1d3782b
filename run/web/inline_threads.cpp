// A page runs without a second thread: threads in a browser need
// cross-origin isolation headers that a plain static host does not send. A
// thread the program starts (the decoding that runs ahead while loading) runs
// here to its end at once, in line, before pthread_create returns; joining it
// then finds it finished.
#include <pthread.h>

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t*, void* (*start)(void*), void* argument) {
    static pthread_t next = 1;
    start(argument);
    *thread = next++;
    return 0;
}

extern "C" int pthread_join(pthread_t, void** result) {
    if (result) *result = nullptr;
    return 0;
}

extern "C" int pthread_detach(pthread_t) { return 0; }
