// Owning raw pointers are deleted and nulled in one step, so no dangling pointer survives.
#pragma once

template <typename T>
void SafeDelete(T*& pointer)
{
    delete pointer;
    pointer = nullptr;
}
