// The key test when standard input is not a console: as on Linux, an available byte is a key
// press and end of file never is.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace {

class RedirectedInput : public testing::Test {
protected:
    HANDLE realInput = nullptr;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring filePath;

    void SetUp() override { realInput = GetStdHandle(STD_INPUT_HANDLE); }
    void TearDown() override
    {
        SetStdHandle(STD_INPUT_HANDLE, realInput);
        for (HANDLE handle : {readEnd, writeEnd, file}) {
            if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
                CloseHandle(handle);
            }
        }
        if (!filePath.empty()) {
            DeleteFileW(filePath.c_str());
        }
    }

    void pipeAsInput()
    {
        ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
        SetStdHandle(STD_INPUT_HANDLE, readEnd);
    }
    void writeToPipe(const char* bytes)
    {
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(writeEnd, bytes, static_cast<DWORD>(strlen(bytes)), &written, nullptr));
    }
    void closeWriter()
    {
        CloseHandle(writeEnd);
        writeEnd = nullptr;
    }
    DWORD bytesInPipe()
    {
        DWORD available = 0;
        PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr);
        return available;
    }

    void fileAsInput(const char* content)
    {
        wchar_t folder[MAX_PATH];
        wchar_t path[MAX_PATH];
        ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0U);
        ASSERT_NE(GetTempFileNameW(folder, L"lpt", 0, path), 0U);
        filePath = path;
        file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file, content, static_cast<DWORD>(strlen(content)), &written, nullptr));
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        SetStdHandle(STD_INPUT_HANDLE, file);
    }
};

TEST_F(RedirectedInput, ByteInPipeIsAKeyPressAndStaysThere)
{
    pipeAsInput();
    writeToPipe("k");
    EXPECT_TRUE(consoleKeyWaiting());
    EXPECT_TRUE(consoleKeyWaiting());
    EXPECT_EQ(bytesInPipe(), 1U);
}

TEST_F(RedirectedInput, EmptyPipeWithWriterIsNoKeyPress)
{
    pipeAsInput();
    EXPECT_FALSE(consoleKeyWaiting());
}

TEST_F(RedirectedInput, EndOfPipeIsNoKeyPress)
{
    pipeAsInput();
    closeWriter();
    EXPECT_FALSE(consoleKeyWaiting());
}

TEST_F(RedirectedInput, ByteLeftBeforeTheWriterClosedIsAKeyPress)
{
    pipeAsInput();
    writeToPipe("q");
    closeWriter();
    EXPECT_TRUE(consoleKeyWaiting());
}

TEST_F(RedirectedInput, FileWithUnreadBytesIsAKeyPressAndItsEndIsNot)
{
    fileAsInput("x\n");
    EXPECT_TRUE(consoleKeyWaiting());
    LARGE_INTEGER position{};
    ASSERT_TRUE(SetFilePointerEx(file, LARGE_INTEGER{}, &position, FILE_CURRENT));
    EXPECT_EQ(position.QuadPart, 0);

    SetFilePointer(file, 0, nullptr, FILE_END);
    EXPECT_FALSE(consoleKeyWaiting());
}

TEST_F(RedirectedInput, EmptyFileIsNoKeyPress)
{
    fileAsInput("");
    EXPECT_FALSE(consoleKeyWaiting());
}

TEST_F(RedirectedInput, NulDeviceIsNoKeyPress)
{
    file = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetStdHandle(STD_INPUT_HANDLE, file);
    EXPECT_FALSE(consoleKeyWaiting());
}

TEST_F(RedirectedInput, NoStandardInputIsNoKeyPress)
{
    SetStdHandle(STD_INPUT_HANDLE, nullptr);
    EXPECT_FALSE(consoleKeyWaiting());
}

}  // namespace
