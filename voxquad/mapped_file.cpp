#include "mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace voxquad {

MappedFile::~MappedFile()
{
    if (data_ && size_ > 0)
        munmap(const_cast<char*>(data_), size_);
}

bool MappedFile::open(const char* fileName)
{
    int fd = ::open(fileName, O_RDONLY);
    if (fd < 0)
        return false;
    struct stat info;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok && info.st_size > 0) {
        void* mapped = mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        ok = mapped != MAP_FAILED;
        if (ok) {
            data_ = static_cast<const char*>(mapped);
            size_ = static_cast<std::size_t>(info.st_size);
            madvise(mapped, size_, MADV_SEQUENTIAL);
        }
    }
    ::close(fd);
    return ok;
}

}  // namespace voxquad
