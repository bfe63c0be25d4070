#include "platform/InstanceChannel.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// JUCE's message to the running instance is an empty stub on Linux, so the
// first instance listens on a local socket of its own and a refused second
// instance writes its command line to it. The socket lives in the abstract
// namespace: it needs no file and vanishes with the process that holds it.
namespace
{
    constexpr size_t maxMessageBytes = 64 * 1024;

    socklen_t makeAddress (const juce::String& applicationName, sockaddr_un& address)
    {
        std::memset (&address, 0, sizeof (address));
        address.sun_family = AF_UNIX;

        const auto name = ("juceAppLock_" + applicationName + ".instance").toStdString();
        const size_t length = std::min (name.size(), sizeof (address.sun_path) - 1);
        std::memcpy (address.sun_path + 1, name.data(), length);   // sun_path[0] = 0: abstract
        return (socklen_t) (offsetof (sockaddr_un, sun_path) + 1 + length);
    }

    // What a queued delivery needs to know when it finally runs.
    struct Shared
    {
        InstanceChannel::Callback callback;
        bool alive = true;   // message thread only
    };

    class SocketChannel : public InstanceChannel
    {
    public:
        SocketChannel (int listening, InstanceChannel::Callback callback)
            : listenSocket (listening), shared (std::make_shared<Shared>())
        {
            shared->callback = std::move (callback);

            if (::pipe2 (wakePipe, O_CLOEXEC) != 0)
                wakePipe[0] = wakePipe[1] = -1;

            listener = std::thread ([this] { listenLoop(); });
        }

        ~SocketChannel() override
        {
            shared->alive = false;
            stopping = true;

            if (wakePipe[1] >= 0)
            {
                const char byte = 0;
                [[maybe_unused]] auto written = ::write (wakePipe[1], &byte, 1);
            }

            listener.join();

            for (int fd : { listenSocket, wakePipe[0], wakePipe[1] })
                if (fd >= 0)
                    ::close (fd);
        }

    private:
        void listenLoop()
        {
            while (! stopping)
            {
                pollfd fds[2] = { { listenSocket, POLLIN, 0 }, { wakePipe[0], POLLIN, 0 } };

                if (::poll (fds, wakePipe[0] >= 0 ? 2 : 1, wakePipe[0] >= 0 ? -1 : 200) < 0)
                    continue;

                if ((fds[0].revents & POLLIN) == 0)
                    continue;

                const int client = ::accept4 (listenSocket, nullptr, nullptr, SOCK_CLOEXEC);

                if (client < 0)
                    continue;

                deliver (readMessage (client));
                ::close (client);
            }
        }

        static juce::String readMessage (int client)
        {
            juce::MemoryBlock received;
            char buffer[1024];

            // A peer that stalls must not hold the listener forever.
            timeval timeout { 1, 0 };
            ::setsockopt (client, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof (timeout));

            for (;;)
            {
                const auto n = ::read (client, buffer, sizeof (buffer));

                if (n <= 0 || received.getSize() + (size_t) n > maxMessageBytes)
                    break;

                received.append (buffer, (size_t) n);
            }

            return received.toString();
        }

        void deliver (const juce::String& message)
        {
            // "name/commandline", as the toolkit sends it elsewhere.
            const auto commandLine = message.fromFirstOccurrenceOf ("/", false, false);

            juce::MessageManager::callAsync ([s = shared, commandLine]
            {
                if (s->alive && s->callback)
                    s->callback (commandLine);
            });
        }

        int listenSocket;
        int wakePipe[2] { -1, -1 };
        std::atomic<bool> stopping { false };
        std::shared_ptr<Shared> shared;
        std::thread listener;
    };
}

InstanceChannel* InstanceChannel::listen (const juce::String& applicationName, Callback callback)
{
    const int fd = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);

    if (fd < 0)
        return nullptr;

    sockaddr_un address;
    const auto length = makeAddress (applicationName, address);

    if (::bind (fd, (const sockaddr*) &address, length) != 0 || ::listen (fd, 4) != 0)
    {
        ::close (fd);
        return nullptr;
    }

    return new SocketChannel (fd, std::move (callback));
}

bool InstanceChannel::notifyRunningInstance (const juce::String& applicationName, const juce::String& commandLine)
{
    const int fd = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);

    if (fd < 0)
        return false;

    sockaddr_un address;
    const auto length = makeAddress (applicationName, address);
    bool sent = false;

    if (::connect (fd, (const sockaddr*) &address, length) == 0)
    {
        const auto message = (applicationName + "/" + commandLine).toStdString();
        sent = ::send (fd, message.data(), message.size(), MSG_NOSIGNAL) == (ssize_t) message.size();
    }

    ::close (fd);
    return sent;
}
