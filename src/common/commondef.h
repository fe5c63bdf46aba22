#ifndef COMMONDEF_H
#define COMMONDEF_H

// Constants shared by every subsystem: store request values, folders and
// result codes.

#include "rootedpath.h"
#include "storehead.h"

#include <QString>

// Store base URL and request constants.
inline const StoreHead Head;

inline const char *const UserLogInAction = "userlogin.action";
inline const char *const BookInfoAction = "bookinfo.action";
inline const char *const LibraryAction = "library.action";
inline const char *const SearchAction = "search.action";
inline const char *const DownLoadAction = "download.action";
inline const char *const CoverAction = "cover.action";
inline const char *const KeyWordsAction = "keywords.action";
inline const char *const MyAccountInfoAction = "myaccountinfo.action";

inline const char *const NOVEL = "novel";
inline const char *const Chinese = "zh";
inline const char *const Version = "qt.2.0.0";
inline const char *const Channel = "2014";
inline const char *const AboutVer = "2.0.0";
inline const char *const SCreenWidth_Meego = "480";
inline const char *const SCreenHeight_Meego = "800";
inline const char *const Pic_Size_82_118 = "82_118";
inline const char *const Pic_Size_44_63 = "44_63";
inline const char *const Cover_Resolution = "480_800";

// Folders, each resolved under the data root when used.
inline constexpr RootedPath DbFolder("/opt/ZarvoReader/db");
inline constexpr RootedPath BookInfoFolder("/home/user/ZarvoReader");
inline constexpr RootedPath PreInstallBookFolder("/opt/ZarvoReader/preinstall/books");
inline constexpr RootedPath BookFolder("/home/user/MyDocs/ZarvoReader");
inline constexpr RootedPath UserBookFolder("/home/user/MyDocs/ZarvoReader");

// Result codes of store operations.
enum StoreResultCode
{
    SERVER_OK = 200,
    SERVER_RIGHT = 206,
    NETWORK_ERROR = -100,
    SERVER_ERROR = -200,
    SYSTERM_ERROR = -300
};

// The store user id of this device; empty until the store hands one out.
extern QString gloabal_UID;

#endif // COMMONDEF_H
