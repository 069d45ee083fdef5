#include "world/CameraManager.h"

#include "core/Application.h"
#include "core/NamedLinkedList.h"
#include "world/Camera.h"

CameraManager::CameraManager()
{
    mCameras = new NamedLinkedList(1);
    rActiveCamera = nullptr;
    mMissingFlag = 0;
    rUpdatingCamera = nullptr;
    mDestroyAfterUpdate = 0;
    EnsureDefault();
}

CameraManager::~CameraManager()
{
    delete mCameras;
}

CameraManager *CameraManager::Fetch()
{
    return GetApplication()->mCameraManager;
}

Camera *CameraManager::ActiveCamera()
{
    CameraManager *rCameras = Fetch();
    return rCameras ? rCameras->GetActiveCamera() : nullptr;
}

void CameraManager::AddCamera(const char *pName, int32_t pX, int32_t pY, int32_t pW, int32_t pH)
{
    if(!pName) return;
    Camera *nCamera = new Camera((float)pX, (float)pY, (float)pW, (float)pH);
    nCamera->SetName(pName);
    mCameras->AddElementWithDeleter(pName, nCamera, DeleteRootObject);
}

void CameraManager::SetActiveCamera(const char *pName)
{
    if(!pName) return;
    Camera *rCamera = (Camera *)mCameras->GetElementByName(pName);
    mMissingFlag = rCamera ? 0 : 1;
    if(rCamera) rActiveCamera = rCamera;
}

// The camera running its control script is only marked; Update destroys it on return.
void CameraManager::DestroyCamera(Camera *pCamera)
{
    if(!pCamera) return;
    if(pCamera == rUpdatingCamera)
    {
        mDestroyAfterUpdate = 1;
        return;
    }
    delete pCamera;
}

void CameraManager::RemoveCamera(const char *pName)
{
    if(!pName) return;
    Camera *rCamera = (Camera *)mCameras->GetElementByName(pName);
    if(!rCamera) return;
    if(rCamera == rActiveCamera) rActiveCamera = nullptr;
    mCameras->SetCursorToData(rCamera);
    mCameras->DetachAtCursor();
    DestroyCamera(rCamera);
    EnsureDefault();
}

void CameraManager::Clear()
{
    while(mCameras->SetCursorToHead())
    {
        DestroyCamera((Camera *)mCameras->DetachAtCursor());
    }
    rActiveCamera = nullptr;
    EnsureDefault();
}

void CameraManager::EnsureDefault()
{
    if(mCameras->GetCount() < 1)
    {
        AddCamera(CAMERA_DEFAULT_NAME, 0, 0, CAMERA_VIEW_WIDTH, CAMERA_VIEW_HEIGHT);
    }
    if(!rActiveCamera) rActiveCamera = (Camera *)mCameras->GetHeadData();
}

void CameraManager::Update()
{
    if(!rActiveCamera) return;
    rUpdatingCamera = rActiveCamera;
    mDestroyAfterUpdate = 0;
    rUpdatingCamera->Update();
    if(mDestroyAfterUpdate) delete rUpdatingCamera;
    rUpdatingCamera = nullptr;
    mDestroyAfterUpdate = 0;
}

Camera *CameraManager::GetCameraByName(const char *pName)
{
    if(!pName) return nullptr;
    return (Camera *)mCameras->GetElementByName(pName);
}

Camera *CameraManager::GetCameraByIndex(int32_t pIndex)
{
    return (Camera *)mCameras->GetElementByIndex(pIndex);
}

int32_t CameraManager::GetCameraCount() const
{
    return mCameras->GetCount();
}
