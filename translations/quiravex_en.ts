<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Columns</name>
    <message>
        <source>日付</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>レベル</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>合否</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>答え</source>
        <translation>Answer</translation>
    </message>
    <message>
        <source>入力した答え</source>
        <translation>Typed</translation>
    </message>
    <message>
        <source>時間</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>ストップ</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>差</source>
        <translation>Off by</translation>
    </message>
    <message>
        <source>正解個数</source>
        <translation>Boxes</translation>
    </message>
    <message>
        <source>入力数</source>
        <translation>Typed</translation>
    </message>
    <message>
        <source>点数</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unknown option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs a value</source>
        <translation>option &apos;%1&apos; needs a value</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; takes no value</source>
        <translation>option &apos;%1&apos; takes no value</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs a user and a folder</source>
        <translation>option &apos;%1&apos; needs a user and a folder</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unexpected argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>folder &apos;%1&apos; does not exist</source>
        <translation>folder &apos;%1&apos; does not exist</translation>
    </message>
    <message>
        <source>folder &apos;%1&apos; is inside the records folder; choose another</source>
        <translation>folder &apos;%1&apos; is inside the records folder; choose another</translation>
    </message>
    <message>
        <source>cannot read &apos;%1&apos;</source>
        <translation>cannot read &apos;%1&apos;</translation>
    </message>
    <message>
        <source>cannot write &apos;%1&apos;</source>
        <translation>cannot write &apos;%1&apos;</translation>
    </message>
    <message>
        <source>no user &apos;%1&apos; in &apos;%2&apos;</source>
        <translation>no user &apos;%1&apos; in &apos;%2&apos;</translation>
    </message>
    <message>
        <source>a Japanese font is needed, and none is installed.
Install one, for example: sudo apt install fonts-ipafont-gothic</source>
        <translation>a Japanese font is needed, and none is installed.
Install one, for example: sudo apt install fonts-ipafont-gothic</translation>
    </message>
    <message>
        <source>a graphical desktop is needed: no display could be opened (neither an X server at DISPLAY answered nor a Wayland compositor at WAYLAND_DISPLAY through Qt&apos;s Wayland plugin, Debian&apos;s qt6-wayland). Start it from a desktop session.</source>
        <translation>a graphical desktop is needed: no display could be opened (neither an X server at DISPLAY answered nor a Wayland compositor at WAYLAND_DISPLAY through Qt&apos;s Wayland plugin, Debian&apos;s qt6-wayland). Start it from a desktop session.</translation>
    </message>
    <message>
        <source>Qt&apos;s translation (qtbase_*.qm) is missing; standard buttons will read in English.</source>
        <translation>Qt&apos;s translation (qtbase_*.qm) is missing; standard buttons will read in English.</translation>
    </message>
    <message>
        <source>the records folder &apos;%1&apos; cannot be made</source>
        <translation>the records folder &apos;%1&apos; cannot be made</translation>
    </message>
    <message>
        <source>Usage: quiravex [--records FOLDER]
       quiravex [--records FOLDER] --export USER FOLDER
       quiravex --help | --version

Quiravex measures and trains memory, attention, sense of time and reaction.

Options:
  --records FOLDER  keep the records (users, results, top ten) in FOLDER
                    instead of Rec/ beside the program or the player&apos;s data
                    folder (~/.local/share/quiravex/Rec)
  --export USER FOLDER
                    write USER&apos;s results into FOLDER as UTF-8 CSV files, one
                    per test (USER-panel.csv, USER-L_R.csv ...), and exit;
                    needs no display
  -h, --help        show this help and exit
  -v, --version     show the version and exit

Qt&apos;s own options, such as -platform NAME, are passed on to Qt.

The game speaks the desktop&apos;s language, as LANGUAGE, LC_ALL, LC_MESSAGES
and LANG name it: Japanese for Japanese and for the C and POSIX locales,
English for any other. LANGUAGE=en quiravex or LANGUAGE=ja quiravex picks
one for a single run. Records are the same in every language.
</source>
        <translation>Usage: quiravex [--records FOLDER]
       quiravex [--records FOLDER] --export USER FOLDER
       quiravex --help | --version

Quiravex measures and trains memory, attention, sense of time and reaction.

Options:
  --records FOLDER  keep the records (users, results, top ten) in FOLDER
                    instead of Rec/ beside the program or the player&apos;s data
                    folder (~/.local/share/quiravex/Rec)
  --export USER FOLDER
                    write USER&apos;s results into FOLDER as UTF-8 CSV files, one
                    per test (USER-panel.csv, USER-L_R.csv ...), and exit;
                    needs no display
  -h, --help        show this help and exit
  -v, --version     show the version and exit

Qt&apos;s own options, such as -platform NAME, are passed on to Qt.

The game speaks the desktop&apos;s language, as LANGUAGE, LC_ALL, LC_MESSAGES
and LANG name it: Japanese for Japanese and for the C and POSIX locales,
English for any other. LANGUAGE=en quiravex or LANGUAGE=ja quiravex picks
one for a single run. Records are the same in every language.
</translation>
    </message>
</context>
<context>
    <name>Folders</name>
    <message>
        <source>書き込みが許されていません</source>
        <translation>writing is not allowed</translation>
    </message>
    <message>
        <source>読み取り専用のディスクです</source>
        <translation>the disk is read-only</translation>
    </message>
    <message>
        <source>ディスクに空きがありません</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>同じ名前のファイルがあります</source>
        <translation>a file of the same name is in the way</translation>
    </message>
    <message>
        <source>名前が長すぎます</source>
        <translation>the name is too long</translation>
    </message>
    <message>
        <source>フォルダ %1 を作れません（%2）。</source>
        <translation>The folder %1 cannot be made (%2). </translation>
    </message>
    <message>
        <source>記録のフォルダ %1 がないので、ユーザーの登録も成績の記録もできません。</source>
        <translation>Without the records folder %1, no user can be registered and no result can be kept.</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>ファイル %1 は開けません</source>
        <translation>The file %1 cannot be opened</translation>
    </message>
    <message>
        <source>ビットマップイメージが不正です</source>
        <translation>The bitmap image is not valid</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>%1.%2 秒</source>
        <translation>%1.%2 s</translation>
    </message>
</context>
<context>
    <name>ProgressChart</name>
    <message>
        <source>まだ記録がありません</source>
        <translation>No results yet</translation>
    </message>
    <message>
        <source>まだ時間の記録がありません</source>
        <translation>No timed results yet</translation>
    </message>
    <message>
        <source>正解の割合</source>
        <translation>Right answers</translation>
    </message>
    <message>
        <source>レベル</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>目標とのずれ（秒、中央値）</source>
        <translation>Off the target (s, median)</translation>
    </message>
    <message>
        <source>時間（秒、中央値）</source>
        <translation>Time (s, median)</translation>
    </message>
    <message>
        <source>● ベスト</source>
        <translation>● Best</translation>
    </message>
</context>
<context>
    <name>ProgressScreen</name>
    <message>
        <source>レベル%1</source>
        <translation>Level %1</translation>
    </message>
    <message>
        <source>正解 %1%</source>
        <translation>%1% right</translation>
    </message>
    <message>
        <source>計測精度：未計測（時間を計るテストのあとに出ます）</source>
        <translation>Timing accuracy: not measured yet (shown after a timed test)</translation>
    </message>
    <message>
        <source>計測精度：±%1 ms</source>
        <translation>Timing accuracy: ±%1 ms</translation>
    </message>
    <message>
        <source>成績の推移</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>書き出し</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>もどる</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>%1の成績</source>
        <translation>%1: your results</translation>
    </message>
    <message>
        <source>回数：%1</source>
        <translation>Results: %1</translation>
    </message>
    <message>
        <source>正解した最高：%1</source>
        <translation>Highest passed: %1</translation>
    </message>
    <message>
        <source>ベスト：%1</source>
        <translation>Best: %1</translation>
    </message>
    <message>
        <source>中央値：%1</source>
        <translation>Median: %1</translation>
    </message>
    <message>
        <source>この7日：%1</source>
        <translation>Last 7 days: %1</translation>
    </message>
    <message>
        <source>その前の30日：%1</source>
        <translation>30 days before: %1</translation>
    </message>
    <message>
        <source>最長連続正解：%1回</source>
        <translation>Longest streak: %1</translation>
    </message>
    <message>
        <source>フライング：%1回</source>
        <translation>False starts: %1</translation>
    </message>
    <message>
        <source>読めない行：%1</source>
        <translation>Unreadable lines: %1</translation>
    </message>
    <message>
        <source>書き出し先のフォルダ</source>
        <translation>Folder to export into</translation>
    </message>
    <message>
        <source>%1 つのファイルに書き出しました：%2</source>
        <translation>Exported %1 files into %2</translation>
    </message>
</context>
<context>
    <name>Records</name>
    <message>
        <source>フォルダ %1 がありません</source>
        <translation>The folder %1 does not exist</translation>
    </message>
    <message>
        <source>フォルダ %1 は記録のフォルダ %2 の中なので、書き出せません。ほかのフォルダを選んで下さい。</source>
        <translation>The folder %1 is inside the records folder %2, so nothing can be exported there. Please choose another folder.</translation>
    </message>
    <message>
        <source>ファイル %1 を作成できません</source>
        <translation>The file %1 cannot be written</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は整数ではありません</source>
        <translation>&apos;%1&apos; is not a whole number</translation>
    </message>
    <message>
        <source>ファイル %1 は開けません</source>
        <translation>The file %1 cannot be opened</translation>
    </message>
    <message>
        <source>記録フォルダ Rec は、すでに起動している Quiravex が使っています。
記録が失われないように、この Quiravex は起動しません。先に起動した方を終了してから、もう一度起動して下さい。</source>
        <translation>The records folder Rec is in use by a Quiravex that is already running.
So that no results are lost, this Quiravex does not start. Quit the other one first, then start again.</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Quiravex&#x3000;Ver%1</source>
        <translation>Quiravex  Ver %1</translation>
    </message>
    <message>
        <source>個別トレーニング</source>
        <translation>Single tests</translation>
    </message>
    <message>
        <source>総合トレーニング</source>
        <translation>Overall training</translation>
    </message>
    <message>
        <source>パネル</source>
        <translation>Panel</translation>
    </message>
    <message>
        <source>L→R</source>
        <translation>L→R</translation>
    </message>
    <message>
        <source>N_メモリ</source>
        <translation>N-Memory</translation>
    </message>
    <message>
        <source>ストップ</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Reflexes</source>
        <translation>Reflexes</translation>
    </message>
    <message>
        <source>BOX</source>
        <translation>BOX</translation>
    </message>
    <message>
        <source>シャープ</source>
        <translation>Shape</translation>
    </message>
    <message>
        <source>登録</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>記録</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>おわる</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>ユーザー名：%1</source>
        <translation>User: %1</translation>
    </message>
</context>
<context>
    <name>TForm10</name>
    <message>
        <source>ENTERを押して下さい</source>
        <translation>Press ENTER</translation>
    </message>
    <message>
        <source>点数：%1</source>
        <translation>Score: %1</translation>
    </message>
</context>
<context>
    <name>TForm11</name>
    <message>
        <source>登録</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>ユーザー登録します
名前を登録して下さい</source>
        <translation>Register a user
Enter a name</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>もどる</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>登録できません</source>
        <translation>This name cannot be registered</translation>
    </message>
    <message>
        <source>登録しました</source>
        <translation>Registered</translation>
    </message>
</context>
<context>
    <name>TForm12</name>
    <message>
        <source>リストのインデックスが範囲を超えています (%1)</source>
        <translation>The list index is out of range (%1)</translation>
    </message>
    <message>
        <source>ユーザー選択</source>
        <translation>Select a user</translation>
    </message>
    <message>
        <source>ユーザー選択します
ユーザー名をクリックして下さい</source>
        <translation>Select a user
Click a user name</translation>
    </message>
    <message>
        <source>ユーザー名</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>もどる</source>
        <translation>Back</translation>
    </message>
</context>
<context>
    <name>TForm13</name>
    <message>
        <source>記録</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>総合</source>
        <translation>Overall</translation>
    </message>
    <message>
        <source>もどる</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>グラフ</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>順位</source>
        <translation>#</translation>
    </message>
    <message>
        <source>この記録は %1 行あります。表示できるのは、はじめの %2 行です。</source>
        <translation>These records have %1 lines. Only the first %2 can be shown.</translation>
    </message>
</context>
<context>
    <name>TForm14</name>
    <message>
        <source>ユーザーの削除</source>
        <translation>Delete a user</translation>
    </message>
    <message>
        <source>ユーザーを削除します
名前をクリックしてください</source>
        <translation>Delete a user
Click a name</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>もどる</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>削除しました</source>
        <translation>Deleted</translation>
    </message>
    <message>
        <source>削除できませんでした</source>
        <translation>The user could not be deleted</translation>
    </message>
</context>
<context>
    <name>TForm15</name>
    <message>
        <source>総合点数</source>
        <translation>Overall score</translation>
    </message>
    <message>
        <source>順位</source>
        <translation>#</translation>
    </message>
    <message>
        <source>もどる</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>点数：%1</source>
        <translation>Score: %1</translation>
    </message>
    <message>
        <source>今回の順位&#x3000;なし</source>
        <translation>Rank this time: none</translation>
    </message>
    <message>
        <source>今回の順位&#x3000;%1位</source>
        <translation>Rank this time: %1</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>パネル</source>
        <translation>Panel</translation>
    </message>
    <message>
        <source>赤く光った順にクリックしていって下さい</source>
        <translation>Click the panels in the order they lit red</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>Ｌ→Ｒ</source>
        <translation>L→R</translation>
    </message>
    <message>
        <source>左から右に移動している数字を当てて下さい</source>
        <translation>Read the number moving from left to right</translation>
    </message>
    <message>
        <source>答え：%1</source>
        <translation>Answer: %1</translation>
    </message>
    <message>
        <source>入力した答え：%1</source>
        <translation>You typed: %1</translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source>N_メモリ</source>
        <translation>N-Memory</translation>
    </message>
    <message>
        <source>でてくる数字を記憶して下さい</source>
        <translation>Remember the digits that appear</translation>
    </message>
    <message>
        <source>答え：%1</source>
        <translation>Answer: %1</translation>
    </message>
    <message>
        <source>入力した答え：%1</source>
        <translation>You typed: %1</translation>
    </message>
</context>
<context>
    <name>TForm5</name>
    <message>
        <source>ストップ</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>指定された秒になったらENTERを押して止めて下さい</source>
        <translation>Press ENTER to stop at the given time</translation>
    </message>
    <message>
        <source>指定秒数</source>
        <translation>Target</translation>
    </message>
</context>
<context>
    <name>TForm6</name>
    <message>
        <source>四角</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>ひし形</source>
        <translation>Diamond</translation>
    </message>
    <message>
        <source>ななめの棒</source>
        <translation>Slanted bar</translation>
    </message>
    <message>
        <source>丸</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>二重丸</source>
        <translation>Double circle</translation>
    </message>
    <message>
        <source>三角</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>白抜きの三角</source>
        <translation>Hollow triangle</translation>
    </message>
    <message>
        <source>アットマーク</source>
        <translation>At sign</translation>
    </message>
    <message>
        <source>上向きの矢印</source>
        <translation>Up arrow</translation>
    </message>
    <message>
        <source>シャープ</source>
        <translation>Shape</translation>
    </message>
    <message>
        <source>上の図には無い形を選んで下さい</source>
        <translation>Choose the shape missing from the ring above</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>不正解</source>
        <translation>Wrong</translation>
    </message>
    <message>
        <source>時間：%1</source>
        <translation>Time: %1</translation>
    </message>
</context>
<context>
    <name>TForm7</name>
    <message>
        <source>上のボックス内に絵が表示されたらENTERを押してください</source>
        <translation>Press ENTER as soon as a picture appears in the box above</translation>
    </message>
    <message>
        <source>フライング</source>
        <translation>False start</translation>
    </message>
</context>
<context>
    <name>TForm8</name>
    <message>
        <source>ボックス</source>
        <translation>Box</translation>
    </message>
    <message>
        <source>箱の数を数えてください</source>
        <translation>Count the boxes</translation>
    </message>
    <message>
        <source>箱の数</source>
        <translation>Number of boxes</translation>
    </message>
    <message>
        <source>個</source>
        <translation>pcs</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>不正解</source>
        <translation>Wrong</translation>
    </message>
    <message>
        <source>時間：%1</source>
        <translation>Time: %1</translation>
    </message>
    <message>
        <source>正解個数：%1  入力数%2</source>
        <translation>Boxes: %1  You typed: %2</translation>
    </message>
</context>
<context>
    <name>TForm9</name>
    <message>
        <source>レベル選択</source>
        <translation>Choose a level</translation>
    </message>
    <message>
        <source>レベル%1</source>
        <translation>Level %1</translation>
    </message>
    <message>
        <source>もどる</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>ユーザー名：%1</source>
        <translation>User: %1</translation>
    </message>
</context>
<context>
    <name>TestScreen</name>
    <message>
        <source>スタート</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>もどる</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>総合</source>
        <translation>Overall</translation>
    </message>
    <message>
        <source>レベル%1</source>
        <translation>Level %1</translation>
    </message>
    <message>
        <source>%1問目</source>
        <translation>Q%1</translation>
    </message>
    <message>
        <source>入力</source>
        <translation>Answer</translation>
    </message>
    <message>
        <source>答えを入力して下さい</source>
        <translation>Type your answer</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>不正解</source>
        <translation>Wrong</translation>
    </message>
</context>
<context>
    <name>Tests</name>
    <message>
        <source>パネル</source>
        <translation>Panel</translation>
    </message>
    <message>
        <source>L→R</source>
        <translation>L→R</translation>
    </message>
    <message>
        <source>Ｌ→Ｒ</source>
        <translation>L→R</translation>
    </message>
    <message>
        <source>N_メモリ</source>
        <translation>N-Memory</translation>
    </message>
    <message>
        <source>ストップ</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Reflexes</source>
        <translation>Reflexes</translation>
    </message>
    <message>
        <source>BOX</source>
        <translation>BOX</translation>
    </message>
    <message>
        <source>ＢＯＸ</source>
        <translation>BOX</translation>
    </message>
    <message>
        <source>シャープ</source>
        <translation>Shape</translation>
    </message>
</context>
</TS>
