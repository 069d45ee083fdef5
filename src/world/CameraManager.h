#pragma once
#include <cstdint>

class Camera;
class NamedLinkedList;
struct lua_State;

#define CAMERA_DEFAULT_NAME "Default"

// Keeps the game's named cameras and the active one. There is always at least one camera:
// whenever the list empties, "Default" over the logical view is made again, and whenever no
// camera is active, the first one becomes active.
//
// A camera under script control runs its script from inside Update, and that script may
// remove the very camera that is running it. Such a camera leaves the list at once but is
// destroyed only when its update returns.
class CameraManager
{
public:
    CameraManager();
    ~CameraManager();

    // Registers the camera manager's "CM_" globals.
    static void RegisterLua(lua_State *L);

    // The instance held by the Application; null before boot creates it. Constructs nothing.
    static CameraManager *Fetch();
    // The instance's active camera; null without an instance or an active camera.
    static Camera *ActiveCamera();

    // A second camera of the same name is appended too; lookups find the first.
    void AddCamera(const char *pName, int32_t pX, int32_t pY, int32_t pW, int32_t pH);
    void SetActiveCamera(const char *pName);
    void RemoveCamera(const char *pName);
    void Clear();
    void EnsureDefault();
    void Update();

    Camera *GetActiveCamera() const { return rActiveCamera; }
    Camera *GetCameraByName(const char *pName);
    Camera *GetCameraByIndex(int32_t pIndex);
    int32_t GetCameraCount() const;
    // Set when the last SetActiveCamera named no camera.
    uint8_t IsActiveMissing() const { return mMissingFlag; }

private:
    void DestroyCamera(Camera *pCamera);

    NamedLinkedList *mCameras;
    Camera *rActiveCamera;
    uint8_t mMissingFlag;
    Camera *rUpdatingCamera;
    uint8_t mDestroyAfterUpdate;

    CameraManager(const CameraManager &) = delete;
    CameraManager &operator=(const CameraManager &) = delete;
};
